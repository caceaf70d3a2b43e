#include "ui/look/PictureArt.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace ui::art {

namespace {

constexpr Rgb kOlive{128, 128, 0};
constexpr Rgb kGrey{128, 128, 128};
constexpr Rgb kBlue{0, 0, 255};

Rgb mix(Rgb a, Rgb b, double t)
{
    auto m = [t](int x, int y) { return std::uint8_t(x + (y - x) * t + 0.5); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

Art blank(int width, int height, double scale, Rgb fill)
{
    Art art;
    art.width = deviceLength(width, scale);
    art.height = deviceLength(height, scale);
    art.pixels.assign(static_cast<std::size_t>(art.width) * art.height, fill);
    return art;
}

// A design is a list of shapes in logical pixels, painted in order; a device
// pixel takes the colour of the last shape that holds its centre. Edges on
// whole logical pixels give exactly the hand-drawn bitmap at scale 1; at
// larger scales slanted edges get finer steps, never a blur.
using Inside = std::function<bool(double u, double v)>;

struct Shape {
    Rgb colour;
    Inside inside;
};

Inside box(double left, double top, double right, double bottom)
{
    return [=](double u, double v) { return u >= left && u < right && v >= top && v < bottom; };
}

// A one-pixel frame just inside the box.
Inside frame(double left, double top, double right, double bottom)
{
    return [=](double u, double v) {
        return box(left, top, right, bottom)(u, v) && !box(left + 1, top + 1, right - 1, bottom - 1)(u, v);
    };
}

void paint(Art& art, int logicalWidth, int logicalHeight, const std::vector<Shape>& shapes)
{
    const double sx = double(art.width) / logicalWidth, sy = double(art.height) / logicalHeight;
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width; ++x) {
            const double u = (x + 0.5) / sx, v = (y + 0.5) / sy;
            for (const Shape& shape : shapes) {
                if (shape.inside(u, v)) {
                    art.pixels[static_cast<std::size_t>(y) * art.width + x] = shape.colour;
                }
            }
        }
    }
}

} // namespace

int deviceLength(int length, double scale) { return static_cast<int>(std::lround(length * scale)); }

int cornerCut(int row, double diameter)
{
    const double r = diameter / 2, dy = r - (row + 0.5);
    if (dy <= 0) {
        return 0;
    }
    // A pixel is inside when its centre is: x + 0.5 >= r - half.
    const double half = std::sqrt(std::max(0.0, r * r - dy * dy));
    return std::max(0, static_cast<int>(std::ceil(r - half - 0.5)));
}

bool insideRoundedRect(int x, int y, int width, int height, double diameter)
{
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return false;
    }
    const int cut = cornerCut(std::min(y, height - 1 - y), diameter);
    return x >= cut && x < width - cut;
}

Art drawBackground(double scale)
{
    constexpr Rgb light{0xD4, 0xDD, 0xE2}, dark{0x2E, 0x38, 0x3E};
    Art art = blank(kWindowWidth, kWindowHeight, scale, kWindowColour);
    const int w = art.width, h = art.height;
    const double bevel = 4 * scale;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * w + x;
            const int lit = std::min(x, y), shade = std::min(w - 1 - x, h - 1 - y);
            if (!insideRoundedRect(x, y, w, h, kCornerDiameter * scale)) {
                art.pixels[at] = kWhite;
            } else if (shade < bevel && shade <= lit) {
                art.pixels[at] = mix(dark, kWindowColour, shade / bevel);
            } else if (lit < bevel) {
                art.pixels[at] = mix(light, kWindowColour, lit / bevel);
            }
        }
    }
    return art;
}

Art drawIcon(double scale)
{
    constexpr Rgb body{0x1F, 0x9E, 0x99}, edge{0x0B, 0x5C, 0x59}, display{0xDC, 0xF5, 0xEF}, key{0x12, 0x33, 0x33};
    Art art = blank(16, 12, scale, kWindowColour);
    std::vector<Shape> shapes{{body, box(3, 0, 13, 12)}, {edge, frame(3, 0, 13, 12)}, {display, box(5, 2, 11, 4)}};
    for (int top : {6, 9}) {
        for (int left : {4, 7, 10}) {
            shapes.push_back({key, box(left, top, left + 2, top + 2)});
        }
    }
    paint(art, 16, 12, shapes);
    return art;
}

Art drawDotGlyph(double scale)
{
    Art art = blank(kGlyphSize, kGlyphSize, scale, kSilver);
    paint(art, kGlyphSize, kGlyphSize, {{kBlack, box(6, 10, 9, 13)}});
    return art;
}

Art drawBackGlyph(double scale)
{
    Art art = blank(kGlyphSize, kGlyphSize, scale, kSilver);
    // The head narrows by one pixel a row away from row 7 towards its tip at
    // column 1; the shaft runs along row 7 to column 14.
    const Inside head = [](double u, double v) { return v >= 4 && v < 11 && u < 6 && u >= 1 + std::abs(v - 7.5); };
    paint(art, kGlyphSize, kGlyphSize, {{kBlack, head}, {kBlack, box(6, 7, 15, 8)}});
    return art;
}

Art drawCancelGlyph(double scale)
{
    Art art = blank(kGlyphSize, kGlyphSize, scale, kSilver);
    // The leaf swings out towards the viewer, so its free edge looks taller.
    // Row 15 stays silver at the left: the bottom-left pixel is the clear colour.
    const Inside leaf = [](double u, double v) { return u >= 1 && u < 4 && v >= u - 1.5 && v <= 16.5 - u; };
    const Inside arrowHead = [](double u, double v) { return u >= 6 && u < 9 && std::abs(v - 8) <= u - 5.5; };
    paint(art, kGlyphSize, kGlyphSize,
        {
            {kGrey, box(4, 1, 11, 15)},
            {kBlack, frame(4, 1, 11, 15)},
            {kBlack, box(0, 0, 1, 15)},
            {kOlive, leaf},
            {kBlack, box(1, 8, 2, 9)},
            {kBlue, arrowHead},
            {kBlue, box(9, 7, 15, 9)},
        });
    return art;
}

} // namespace ui::art
