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
// left) along the line x + y = 32, w across it; its wood is cut to a cone
// from u = -11 to the point at u = -3.
//
// A box may have a frame of `frame` units inside its edges, in
// `frameColour`, and may be repeated `columns` x `rows` times `step` units
// apart: a frame stays a line however small the icon, and a row of keys or
// rules stays apart.
struct Shape {
    enum class Kind { Box, Pencil };
    Kind kind;
    std::uint8_t colour;
    double left = 0, top = 0, right = 0, bottom = 0, radius = 0; // a box
    double frame = 0;
    std::uint8_t frameColour = Black;
    int columns = 1, rows = 1;
    double stepX = 0, stepY = 0;
    double from = 0, to = 0, halfWidth = 0, grow = 0; // a pencil piece

    static Shape box(std::uint8_t colour, double l, double t, double r, double b, double radius = 0)
    {
        Shape shape{Kind::Box, colour};
        shape.left = l;
        shape.top = t;
        shape.right = r;
        shape.bottom = b;
        shape.radius = radius;
        return shape;
    }
    static Shape pencil(std::uint8_t colour, double from, double to, double halfWidth, double grow)
    {
        Shape shape{Kind::Pencil, colour};
        shape.from = from;
        shape.to = to;
        shape.halfWidth = halfWidth;
        shape.grow = grow;
        return shape;
    }
    Shape framed(std::uint8_t colour, double width) const
    {
        Shape shape = *this;
        shape.frameColour = colour;
        shape.frame = width;
        return shape;
    }
    Shape repeated(int across, int down, double x, double y) const
    {
        Shape shape = *this;
        shape.columns = across;
        shape.rows = down;
        shape.stepX = x;
        shape.stepY = y;
        return shape;
    }
    Shape moved(double x, double y) const { return box(colour, left + x, top + y, right + x, bottom + y, radius); }

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
    constexpr double half = 1.8;
    return {
        Shape::box(White, 2, 2, 20, 28).framed(Black, 0.5),
        Shape::box(Blue, 4, 6.5, 18, 7).repeated(1, 7, 0, 3),
        Shape::box(Red, 6.5, 3, 7, 27),
        Shape::box(Teal, 12, 10, 29, 31, 1.5).framed(Black, 0.5),
        Shape::box(Aqua, 14, 12, 27, 16).framed(Black, 0.5),
        Shape::box(Black, 14, 18, 16, 20, 0.5).repeated(4, 3, 3, 4),
        Shape::pencil(Black, -29.5, -3, half, 0.7),
        Shape::pencil(Red, -29.5, -25, half, 0),
        Shape::pencil(Silver, -25, -23.5, half, 0),
        Shape::pencil(Yellow, -23.5, -11, half, 0),
        Shape::pencil(Olive, -11, -5.5, half, 0),
        Shape::pencil(Black, -5.5, -3, half, 0),
    };
}

// What a shape paints, one plain box or pencil piece each: the frame under
// the box's inside, the copies of a repeated box.
std::vector<Shape> pieces(const Shape& shape)
{
    if (shape.kind != Shape::Kind::Box) {
        return {shape};
    }
    std::vector<Shape> out;
    if (shape.frame > 0) {
        const double f = shape.frame;
        out.push_back(Shape::box(shape.frameColour, shape.left, shape.top, shape.right, shape.bottom, shape.radius));
        out.push_back(Shape::box(shape.colour, shape.left + f, shape.top + f, shape.right - f, shape.bottom - f,
            std::max(shape.radius - f, 0.0)));
        return out;
    }
    for (int row = 0; row < shape.rows; ++row) {
        for (int column = 0; column < shape.columns; ++column) {
            out.push_back(shape.moved(column * shape.stepX, row * shape.stepY));
        }
    }
    return out;
}

// Where the copies of a repeated box lie along one axis at the pixel size
// `pixel`, from `first` to `last` for the first copy, all of one size of at
// least a pixel: each copy's start on the nearest whole pixel, where that
// leaves a pixel of space between the copies; otherwise a pixel between
// them at least, as many as fit where the copies were.
std::vector<std::pair<double, double>> snappedCopies(double first, double last, int count, double step, double pixel)
{
    auto snap = [pixel](double v) { return std::round(v / pixel) * pixel; };
    const double size = std::max(snap(last - first), pixel);
    std::vector<std::pair<double, double>> copies;
    for (int n = 0; n < count; ++n) {
        const double from = snap(first + n * step);
        copies.emplace_back(from, from + size);
    }
    const bool apart = std::adjacent_find(copies.begin(), copies.end(), [pixel](const auto& a, const auto& b) {
        return b.first < a.second + pixel;
    }) == copies.end();
    if (apart) {
        return copies;
    }
    const double spacing = std::max(snap(step), size + pixel);
    const double start = copies.front().first, end = copies.back().second;
    copies.clear();
    for (double from = start; from + size <= end + pixel / 2 && int(copies.size()) < count; from += spacing) {
        copies.emplace_back(from, from + size);
    }
    return copies;
}

// The plain boxes a shape paints at `size` pixels, their edges moved to the
// nearest whole pixel and at least one pixel apart: a frame at least one
// pixel wide round at least one pixel of inside, the copies of a repeated
// box kept apart (snappedCopies). The pencil stays as it is.
std::vector<Shape> snapped(const Shape& shape, int size)
{
    if (shape.kind != Shape::Kind::Box) {
        return {shape};
    }
    const double pixel = 32.0 / size;
    if (shape.frame > 0) {
        auto snap = [pixel](double v) { return std::round(v / pixel) * pixel; };
        const double left = snap(shape.left), top = snap(shape.top);
        const double right = std::max(snap(shape.right), left + 3 * pixel);
        const double bottom = std::max(snap(shape.bottom), top + 3 * pixel);
        const double f = std::max(snap(shape.frame), pixel);
        // The inside's corners as designed, whatever the frame's width.
        return {Shape::box(shape.frameColour, left, top, right, bottom, shape.radius),
            Shape::box(
                shape.colour, left + f, top + f, right - f, bottom - f, std::max(shape.radius - shape.frame, 0.0))};
    }
    const auto columns = snappedCopies(shape.left, shape.right, shape.columns, shape.stepX, pixel);
    const auto rows = snappedCopies(shape.top, shape.bottom, shape.rows, shape.stepY, pixel);
    std::vector<Shape> out;
    for (const auto& [top, bottom] : rows) {
        for (const auto& [left, right] : columns) {
            out.push_back(Shape::box(shape.colour, left, top, right, bottom, shape.radius));
        }
    }
    return out;
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
    // Below 32 pixels a pixel takes the colour of what covers most of it:
    // partial cover would only blur there.
    const bool smooth = size > 32;
    std::vector<Premultiplied> pixels(std::size_t(size) * size);
    const double unit = 32.0 / size;
    for (const Shape& designed : design()) {
        for (const Shape& shape : snapped(designed, size)) {
            const Rgb c = kPalette[shape.colour];
            for (int py = 0; py < size; ++py) {
                for (int px = 0; px < size; ++px) {
                    int hits = 0;
                    for (int sy = 0; sy < 4; ++sy) {
                        for (int sx = 0; sx < 4; ++sx) {
                            hits += shape.inside((px + (sx + 0.5) / 4) * unit, (py + (sy + 0.5) / 4) * unit) ? 1 : 0;
                        }
                    }
                    const double a = smooth ? hits / 16.0 : (hits >= 8 ? 1.0 : 0.0);
                    if (a == 0) {
                        continue;
                    }
                    Premultiplied& p = pixels[std::size_t(py) * size + px];
                    p = {c.r * a + p.r * (1 - a), c.g * a + p.g * (1 - a), c.b * a + p.b * (1 - a), a + p.a * (1 - a)};
                }
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
    for (const Shape& designed : design()) {
        for (const Shape& shape : pieces(designed)) {
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
    }
    return svg + "</svg>\n";
}

} // namespace makepictures
