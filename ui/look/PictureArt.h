#pragma once

#include <cstdint>
#include <vector>

// The designs of the window's pictures, drawn at any scale. At scale 1 they
// are the committed picture files pixel for pixel (the background up to its
// JPEG coding); the window draws them again for a screen whose device pixel
// ratio is not 1, so that edges stay sharp instead of being blown up. Plain
// C++: the picture generator (ui/pictures/MakePictures.cpp) draws the files
// with them.
namespace ui::art {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The window colour: the background picture's plate and the window itself.
inline constexpr Rgb kWindowColour{0x66, 0x78, 0x82};
inline constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};
inline constexpr Rgb kBlack{0x00, 0x00, 0x00};
inline constexpr Rgb kSilver{0xC0, 0xC0, 0xC0}; // the glyphs' clear colour

// Pixels top-down, left to right.
struct Art {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The window's size in logical pixels: its background picture, its shape
// and its fixed size.
inline constexpr int kWindowWidth = 574;
inline constexpr int kWindowHeight = 250;

// The window's corners are cut by an ellipse this many logical pixels
// across, in its shape and in its background picture.
inline constexpr int kCornerDiameter = 16;

// The glyphs of the keys and the close button are this many logical pixels
// square.
inline constexpr int kGlyphSize = 16;

// Device pixels for `length` logical ones, rounded as Qt rounds a scaled size.
int deviceLength(int length, double scale);

// The pixels cut from the edge in row `row` (0 = the outermost) of a corner
// rounded by an ellipse `diameter` pixels across, sampled at pixel centres:
// cornerCut(0..5, 16) -> 5, 3, 2, 1, 1, 0.
int cornerCut(int row, double diameter);

// Whether pixel (x, y) lies in a `width` x `height` rectangle whose corners
// are cut by `diameter`, each corner the mirror image of the others:
// insideRoundedRect(4, 0, 574, 250, 16) -> false; (5, 0, ...) -> true.
bool insideRoundedRect(int x, int y, int width, int height, double diameter);

// kWindowWidth x kWindowHeight at scale 1: the slate plate with its bevel and shadow, white
// outside its rounded corners.
Art drawBackground(double scale);
// 16 x 12: the small teal calculator.
Art drawIcon(double scale);
// kGlyphSize square on silver: the point key's dot.
Art drawDotGlyph(double scale);
// kGlyphSize square on silver: the backspace key's arrow.
Art drawBackGlyph(double scale);
// kGlyphSize square on silver, colours of the standard 16-colour palette
// only: the open door of the close button.
Art drawCancelGlyph(double scale);

} // namespace ui::art
