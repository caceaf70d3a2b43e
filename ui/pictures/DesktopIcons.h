#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Palette.h"

// The application icon: a teal calculator in front of a ruled sheet, with a
// yellow pencil. Each size menus and docks ask for is drawn for that size
// from the design's shapes, their edges on the size's pixels, and the
// scalable one as those shapes in SVG; the window's own 32-pixel icon is
// laid out pixel by pixel in the 16 colours.
namespace makepictures {

// The desktop's icon sizes in pixels; the PNG files are
// qinghe-taxcalc-<size>.png.
inline constexpr int kDesktopIconSizes[] = {16, 22, 24, 32, 48, 64, 128};

// Colour indexes, and which pixels the icon leaves transparent.
struct Icon {
    explicit Icon(int size) : colours(size, size, Black), clear(size, size, 1) {}
    Canvas<std::uint8_t> colours;
    Canvas<std::uint8_t> clear;
    int size() const { return colours.width; }
    void fill(int l, int t, int r, int b, std::uint8_t colour)
    {
        colours.fill(l, t, r, b, colour);
        clear.fill(l, t, r, b, 0);
    }
    void frame(int l, int t, int r, int b, std::uint8_t colour)
    {
        colours.frame(l, t, r, b, colour);
        clear.frame(l, t, r, b, 0);
    }
};

// 32 x 32 in the 16 colours, laid out pixel by pixel: the window's icon file
// and the desktop's 32-pixel icon.
Icon applicationIcon();

// Straight RGBA, rows top-down.
std::vector<std::uint8_t> iconRgba(const Icon& icon);

// `size` pixels painted from the design's shapes with 4 x 4 samples a pixel;
// rectangle edges fall on whole pixels. Above 32 pixels the slanted pencil
// is smoothed; below, where a half-covered pixel would only blur, each pixel
// is whole, in the colour of what covers most of it.
std::vector<std::uint8_t> sketchedIcon(int size);

// The design's shapes as an SVG document on the 32-unit grid.
std::string iconSvg();

} // namespace makepictures
