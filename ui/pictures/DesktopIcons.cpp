#include "DesktopIcons.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace makepictures {

Icon applicationIcon()
{
    Icon i(32);
    i.fill(2, 2, 19, 27, White);
    i.frame(2, 2, 19, 27, Black);
    for (int y = 6; y <= 24; y += 3) {
        i.fill(4, y, 17, y, Blue);
    }
    i.fill(6, 3, 6, 26, Red);
    i.fill(12, 10, 28, 30, Teal);
    i.frame(12, 10, 28, 30, Black);
    i.fill(14, 12, 26, 15, Aqua);
    i.frame(14, 12, 26, 15, Black);
    for (int top : {18, 22, 26}) {
        for (int left : {14, 17, 20, 23}) {
            i.fill(left, top, left + 1, top + 1, Black);
        }
    }
    // The pencil lies across the sheet's corner, tip down to the left.
    for (int t = 0; t <= 11; ++t) {
        const int x = 29 - t, y = 1 + t;
        const std::uint8_t colour = t < 2 ? Red : (t < 9 ? Yellow : Olive);
        i.fill(x, y, x + 1, y + 1, colour);
    }
    i.fill(17, 13, 17, 13, Black);
    return i;
}

Icon smallIcon(int size)
{
    // Positions on the 32-pixel layout above, rounded to this grid.
    const double scale = size / 32.0;
    auto at = [scale](double v) { return int(std::lround(v * scale)); };
    Icon i(size);

    const int sheetLeft = at(2), sheetTop = at(2), sheetRight = at(19), sheetBottom = at(27);
    i.fill(sheetLeft, sheetTop, sheetRight, sheetBottom, White);
    i.frame(sheetLeft, sheetTop, sheetRight, sheetBottom, Black);
    const int ruleStep = size >= 22 ? 3 : 2;
    for (int y = sheetTop + 2; y <= sheetBottom - 2; y += ruleStep) {
        i.fill(sheetLeft + 2, y, sheetRight - 2, y, Blue);
    }
    const int margin = sheetLeft + std::max(2, at(4));
    i.fill(margin, sheetTop + 1, margin, sheetBottom - 1, Red);

    const int left = at(12), top = at(10), right = at(28), bottom = std::min(at(30), size - 1);
    i.fill(left, top, right, bottom, Teal);
    i.frame(left, top, right, bottom, Black);
    const int displayBottom = top + 2 + (size >= 22 ? 3 : 2);
    i.fill(left + 2, top + 2, right - 2, displayBottom, Aqua);
    i.frame(left + 2, top + 2, right - 2, displayBottom, Black);
    // One-pixel keys with a pixel between them, as many as the case holds,
    // at most the four columns and three rows of the large icon.
    for (int row = 0, y = displayBottom + 2; row < 3 && y <= bottom - 2; ++row, y += 2) {
        for (int column = 0, x = left + 2; column < 4 && x <= right - 2; ++column, x += 2) {
            i.fill(x, y, x, y, Black);
        }
    }

    // The pencil lies across the sheet's corner, tip down to the left on the
    // display, one pixel a step as on the 32-pixel icon: two pixels wide and
    // two high, one high at 16 where it would hide the sheet.
    const int height = size >= 22 ? 2 : 1;
    const int firstY = size >= 22 ? 1 : 0, steps = top + 2 + 2 - height - firstY;
    for (int t = 0; t < steps; ++t) {
        const int x = size - 3 - t, y = firstY + t;
        const std::uint8_t colour = t < steps / 6 + 1 ? Red : (t < steps - steps / 4 ? Yellow : Olive);
        i.fill(x, y, x + 1, y + height - 1, colour);
    }
    i.fill(size - 3 - steps, firstY + steps + height - 2, size - 3 - steps, firstY + steps + height - 2, Black);
    return i;
}

std::vector<std::uint8_t> iconRgba(const Icon& icon)
{
    std::vector<std::uint8_t> out;
    for (int y = 0; y < icon.size(); ++y) {
        for (int x = 0; x < icon.size(); ++x) {
            const Rgb p = kPalette[icon.colours.at(x, y)];
            out.insert(out.end(), {p.r, p.g, p.b, std::uint8_t(icon.clear.at(x, y) ? 0 : 255)});
        }
    }
    return out;
}

namespace {

// One shape of the design on its 32-unit grid: an axis-parallel box with
// corners rounded by `radius`, or a piece of the pencil. The pencil is drawn
// in its own axes: u grows from the eraser (top right) to the tip (bottom
// left) along the line x + y = 32 the small icon's pencil follows, w across
// it; its wood is cut to a cone from u = -11 to the point at u = -3.
struct Shape {
    enum class Kind { Box, Pencil };
    Kind kind;
    std::uint8_t colour;
    double left = 0, top = 0, right = 0, bottom = 0, radius = 0; // a box
    double from = 0, to = 0, halfWidth = 0, grow = 0; // a pencil piece

    static Shape box(std::uint8_t colour, double l, double t, double r, double b, double radius = 0)
    {
        return {Kind::Box, colour, l, t, r, b, radius};
    }
    static Shape pencil(std::uint8_t colour, double from, double to, double halfWidth, double grow)
    {
        return {Kind::Pencil, colour, 0, 0, 0, 0, 0, from, to, halfWidth, grow};
    }

    double reach(double u) const { return (u < -11 ? halfWidth : halfWidth * (-3 - u) / 8) + grow; }

    bool inside(double x, double y) const
    {
        if (kind == Kind::Pencil) {
            const double u = y - x, w = x + y - 32;
            return u >= from - grow && u < to + grow && std::abs(w) <= reach(u);
        }
        if (!(x >= left && x < right && y >= top && y < bottom)) {
            return false;
        }
        const double dx = std::max({left + radius - x, x - (right - radius), 0.0});
        const double dy = std::max({top + radius - y, y - (bottom - radius), 0.0});
        return dx * dx + dy * dy <= radius * radius;
    }

    // The outline of a pencil piece, corners in order.
    std::vector<std::pair<double, double>> corners() const
    {
        const double first = from - grow, last = to + grow;
        std::vector<std::pair<double, double>> uw{{first, reach(first)}};
        if (first < -11 && last > -11) {
            uw.emplace_back(-11, halfWidth + grow);
        }
        uw.emplace_back(last, reach(last));
        for (std::size_t n = uw.size(); n-- > 0;) {
            uw.emplace_back(uw[n].first, -uw[n].second);
        }
        std::vector<std::pair<double, double>> xy;
        for (const auto& [u, w] : uw) {
            xy.emplace_back((w + 32 - u) / 2, (w + 32 + u) / 2);
        }
        return xy;
    }
};

std::vector<Shape> design()
{
    std::vector<Shape> shapes{
        Shape::box(Black, 2, 2, 20, 28),
        Shape::box(White, 2.5, 2.5, 19.5, 27.5),
    };
    for (int y = 6; y <= 24; y += 3) {
        shapes.push_back(Shape::box(Blue, 4, y + 0.5, 18, y + 1));
    }
    shapes.push_back(Shape::box(Red, 6.5, 3, 7, 27));
    shapes.push_back(Shape::box(Black, 12, 10, 29, 31, 1.5));
    shapes.push_back(Shape::box(Teal, 12.5, 10.5, 28.5, 30.5, 1));
    shapes.push_back(Shape::box(Black, 14, 12, 27, 16));
    shapes.push_back(Shape::box(Aqua, 14.5, 12.5, 26.5, 15.5));
    for (int top : {18, 22, 26}) {
        for (int left : {14, 17, 20, 23}) {
            shapes.push_back(Shape::box(Black, left, top, left + 2, top + 2, 0.5));
        }
    }
    constexpr double half = 1.8;
    for (const Shape& piece : {
             Shape::pencil(Black, -29.5, -3, half, 0.7),
             Shape::pencil(Red, -29.5, -25, half, 0),
             Shape::pencil(Silver, -25, -23.5, half, 0),
             Shape::pencil(Yellow, -23.5, -11, half, 0),
             Shape::pencil(Olive, -11, -5.5, half, 0),
             Shape::pencil(Black, -5.5, -3, half, 0),
         }) {
        shapes.push_back(piece);
    }
    return shapes;
}

// A box's edges moved to the nearest whole pixel at `size`, at least one
// pixel apart.
Shape snapped(Shape shape, int size)
{
    if (shape.kind != Shape::Kind::Box) {
        return shape;
    }
    const double pixel = 32.0 / size;
    auto snap = [pixel](double v) { return std::round(v / pixel) * pixel; };
    shape.left = snap(shape.left);
    shape.top = snap(shape.top);
    shape.right = std::max(snap(shape.right), shape.left + pixel);
    shape.bottom = std::max(snap(shape.bottom), shape.top + pixel);
    return shape;
}

struct Premultiplied {
    double r = 0, g = 0, b = 0, a = 0;
};

std::string hexColour(std::uint8_t colour)
{
    const Rgb c = kPalette[colour];
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

} // namespace

std::vector<std::uint8_t> sketchedIcon(int size)
{
    std::vector<Premultiplied> pixels(std::size_t(size) * size);
    const double unit = 32.0 / size;
    for (const Shape& designed : design()) {
        const Shape shape = snapped(designed, size);
        const Rgb c = kPalette[shape.colour];
        for (int py = 0; py < size; ++py) {
            for (int px = 0; px < size; ++px) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy) {
                    for (int sx = 0; sx < 4; ++sx) {
                        hits += shape.inside((px + (sx + 0.5) / 4) * unit, (py + (sy + 0.5) / 4) * unit) ? 1 : 0;
                    }
                }
                if (hits == 0) {
                    continue;
                }
                const double a = hits / 16.0;
                Premultiplied& p = pixels[std::size_t(py) * size + px];
                p = {c.r * a + p.r * (1 - a), c.g * a + p.g * (1 - a), c.b * a + p.b * (1 - a), a + p.a * (1 - a)};
            }
        }
    }
    std::vector<std::uint8_t> out;
    auto byte = [](double v) { return std::uint8_t(std::clamp(v, 0.0, 255.0) + 0.5); };
    for (const Premultiplied& p : pixels) {
        if (p.a <= 0) {
            out.insert(out.end(), {0, 0, 0, 0});
        } else {
            out.insert(out.end(), {byte(p.r / p.a), byte(p.g / p.a), byte(p.b / p.a), byte(p.a * 255)});
        }
    }
    return out;
}

std::string iconSvg()
{
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" viewBox=\"0 0 32 32\">\n";
    for (const Shape& shape : design()) {
        if (shape.kind == Shape::Kind::Box) {
            svg += "  <rect x=\"" + number(shape.left) + "\" y=\"" + number(shape.top) + "\" width=\"" +
                number(shape.right - shape.left) + "\" height=\"" + number(shape.bottom - shape.top) + "\"";
            if (shape.radius > 0) {
                svg += " rx=\"" + number(shape.radius) + "\"";
            }
        } else {
            svg += "  <polygon points=\"";
            const char* separator = "";
            for (const auto& [x, y] : shape.corners()) {
                svg += separator + number(x) + "," + number(y);
                separator = " ";
            }
            svg += "\"";
        }
        svg += " fill=\"" + hexColour(shape.colour) + "\"/>\n";
    }
    return svg + "</svg>\n";
}

} // namespace makepictures
