#pragma once

#include <cstdint>
#include <vector>

#include "ui/look/PictureArt.h"

// The 16 colours the glyphs and icons are drawn in, and a canvas of pixels
// that the generator fills rectangle by rectangle.
namespace makepictures {

using ui::art::Rgb;

// The standard 16-colour palette: black, maroon, green, olive, navy, purple,
// teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.
inline constexpr Rgb kPalette[16] = {
    {0, 0, 0},
    {128, 0, 0},
    {0, 128, 0},
    {128, 128, 0},
    {0, 0, 128},
    {128, 0, 128},
    {0, 128, 128},
    {192, 192, 192},
    {128, 128, 128},
    {255, 0, 0},
    {0, 255, 0},
    {255, 255, 0},
    {0, 0, 255},
    {255, 0, 255},
    {0, 255, 255},
    {255, 255, 255},
};
enum Colour : std::uint8_t {
    Black = 0,
    Olive = 3,
    Teal = 6,
    Silver = 7,
    Grey = 8,
    Red = 9,
    Yellow = 11,
    Blue = 12,
    Aqua = 14,
    White = 15,
};

// Pixels top-down, left to right.
template <class Pixel>
struct Canvas {
    int width;
    int height;
    std::vector<Pixel> pixels;

    Canvas(int w, int h, Pixel fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Pixel& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    Pixel at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    void fill(int left, int top, int right, int bottom, Pixel p)
    {
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                at(x, y) = p;
            }
        }
    }
    void frame(int left, int top, int right, int bottom, Pixel p)
    {
        fill(left, top, right, top, p);
        fill(left, bottom, right, bottom, p);
        fill(left, top, left, bottom, p);
        fill(right, top, right, bottom, p);
    }
};

} // namespace makepictures
