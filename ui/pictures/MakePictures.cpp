// Draws the calculator window's pictures:
//   qinghe-make-pictures <directory>
// writes ImageBak.jpg, ImageIco.jpg, SBtnDot.bmp, SBtnBack.bmp,
// BitBtnCancel.bmp and qinghe-taxcalc.ico, and the desktop icons
// qinghe-taxcalc-32.png, -64.png and -128.png. The output is the same on
// every run, so the committed files can be checked against a fresh drawing.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "PngFile.h"
#include "ui/PictureArt.h"

namespace {

using ui::art::Rgb;

// The standard 16-colour palette: black, maroon, green, olive, navy, purple,
// teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.
constexpr Rgb kPalette[16] = {
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

// The door is drawn in palette colours only; a 4-bit bitmap stores their
// indexes.
Canvas<std::uint8_t> paletteIndexes(const ui::art::Art& art)
{
    Canvas<std::uint8_t> c(art.width, art.height, Silver);
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width; ++x) {
            const auto index = std::find(std::begin(kPalette), std::end(kPalette), art.at(x, y)) - std::begin(kPalette);
            c.at(x, y) = std::uint8_t(index);
        }
    }
    return c;
}

Canvas<Rgb> canvas(const ui::art::Art& art)
{
    Canvas<Rgb> c(art.width, art.height, ui::art::kBlack);
    c.pixels = art.pixels;
    return c;
}

// Colour indexes, and which pixels the icon leaves transparent.
struct Icon {
    Canvas<std::uint8_t> colours{32, 32, Black};
    Canvas<std::uint8_t> clear{32, 32, 1};
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

Icon applicationIcon()
{
    Icon i;
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

// The icon file's own pixels as RGBA: the desktop's 32 x 32 icon is the
// window's icon.
std::vector<std::uint8_t> iconRgba(const Icon& icon)
{
    std::vector<std::uint8_t> out;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const Rgb p = kPalette[icon.colours.at(x, y)];
            out.insert(out.end(), {p.r, p.g, p.b, std::uint8_t(icon.clear.at(x, y) ? 0 : 255)});
        }
    }
    return out;
}

// The application icon's design on its 32-unit grid, painted at a larger
// size with 4 x 4 samples a pixel, so that edges and the slanted pencil come
// out smooth instead of as blown-up squares.
class Sketch {
public:
    explicit Sketch(int size) : size_(size), pixels_(std::size_t(size) * size) {}

    template <class Inside>
    void paint(std::uint8_t colour, Inside inside)
    {
        const Rgb c = kPalette[colour];
        const double unit = 32.0 / size_;
        for (int py = 0; py < size_; ++py) {
            for (int px = 0; px < size_; ++px) {
                int hits = 0;
                for (int sy = 0; sy < 4; ++sy) {
                    for (int sx = 0; sx < 4; ++sx) {
                        hits += inside((px + (sx + 0.5) / 4) * unit, (py + (sy + 0.5) / 4) * unit) ? 1 : 0;
                    }
                }
                if (hits == 0) {
                    continue;
                }
                const double a = hits / 16.0;
                Premultiplied& p = pixels_[std::size_t(py) * size_ + px];
                p = {c.r * a + p.r * (1 - a), c.g * a + p.g * (1 - a), c.b * a + p.b * (1 - a), a + p.a * (1 - a)};
            }
        }
    }

    std::vector<std::uint8_t> rgba() const
    {
        std::vector<std::uint8_t> out;
        auto byte = [](double v) { return std::uint8_t(std::clamp(v, 0.0, 255.0) + 0.5); };
        for (const Premultiplied& p : pixels_) {
            if (p.a <= 0) {
                out.insert(out.end(), {0, 0, 0, 0});
            } else {
                out.insert(out.end(), {byte(p.r / p.a), byte(p.g / p.a), byte(p.b / p.a), byte(p.a * 255)});
            }
        }
        return out;
    }

private:
    struct Premultiplied {
        double r = 0, g = 0, b = 0, a = 0;
    };
    int size_;
    std::vector<Premultiplied> pixels_;
};

auto box(double l, double t, double r, double b)
{
    return [=](double x, double y) { return x >= l && x < r && y >= t && y < b; };
}

auto roundBox(double l, double t, double r, double b, double radius)
{
    return [=](double x, double y) {
        if (!(x >= l && x < r && y >= t && y < b)) {
            return false;
        }
        const double dx = std::max({l + radius - x, x - (r - radius), 0.0});
        const double dy = std::max({t + radius - y, y - (b - radius), 0.0});
        return dx * dx + dy * dy <= radius * radius;
    };
}

// The pencil in its own axes: u grows from the eraser (top right) to the tip
// (bottom left) along the line x + y = 32 the small icon's pencil follows, w
// across it; both in steps of half a grid diagonal.
auto pencilPiece(double from, double to, double halfWidth, double grow)
{
    return [=](double x, double y) {
        const double u = y - x, w = x + y - 32;
        if (u < from - grow || u >= to + grow) {
            return false;
        }
        // The wood is cut to a cone from u = -11 to the point at u = -3.
        const double reach = u < -11 ? halfWidth : halfWidth * (-3 - u) / 8;
        return std::abs(w) <= reach + grow;
    };
}

std::vector<std::uint8_t> sketchedIcon(int size)
{
    Sketch s(size);
    s.paint(Black, box(2, 2, 20, 28));
    s.paint(White, box(2.5, 2.5, 19.5, 27.5));
    // Half-unit lines on half-unit bounds stay sharp at 64 and 128 pixels.
    for (int y = 6; y <= 24; y += 3) {
        s.paint(Blue, box(4, y + 0.5, 18, y + 1));
    }
    s.paint(Red, box(6.5, 3, 7, 27));
    s.paint(Black, roundBox(12, 10, 29, 31, 1.5));
    s.paint(Teal, roundBox(12.5, 10.5, 28.5, 30.5, 1));
    s.paint(Black, box(14, 12, 27, 16));
    s.paint(Aqua, box(14.5, 12.5, 26.5, 15.5));
    for (int top : {18, 22, 26}) {
        for (int left : {14, 17, 20, 23}) {
            s.paint(Black, roundBox(left, top, left + 2, top + 2, 0.5));
        }
    }
    constexpr double half = 1.8;
    s.paint(Black, pencilPiece(-29.5, -3, half, 0.7));
    s.paint(Red, pencilPiece(-29.5, -25, half, 0));
    s.paint(Silver, pencilPiece(-25, -23.5, half, 0));
    s.paint(Yellow, pencilPiece(-23.5, -11, half, 0));
    s.paint(Olive, pencilPiece(-11, -5.5, half, 0));
    s.paint(Black, pencilPiece(-5.5, -3, half, 0));
    return s.rgba();
}

void put16(std::string& out, unsigned v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string infoHeader(int width, int height, int bits, std::uint32_t imageBytes, int colours)
{
    std::string out;
    put32(out, 40);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(height));
    put16(out, 1);
    put16(out, unsigned(bits));
    put32(out, 0); // no compression
    put32(out, imageBytes);
    put32(out, 3780); // 96 dots per inch
    put32(out, 3780);
    put32(out, std::uint32_t(colours));
    put32(out, 0);
    return out;
}

std::string palette()
{
    std::string out;
    for (const Rgb& p : kPalette) {
        out += char(p.b);
        out += char(p.g);
        out += char(p.r);
        out += char(0);
    }
    return out;
}

int rowBytes(int width, int bits) { return (width * bits + 31) / 32 * 4; }

// Rows bottom-up, each padded to four bytes, as bitmaps store them.
std::string bits24(const Canvas<Rgb>& c)
{
    std::string out;
    for (int y = c.height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < c.width; ++x) {
            const Rgb p = c.at(x, y);
            row += char(p.b);
            row += char(p.g);
            row += char(p.r);
        }
        row.resize(std::size_t(rowBytes(c.width, 24)), '\0');
        out += row;
    }
    return out;
}

std::string bits4(const Canvas<std::uint8_t>& c)
{
    std::string out;
    for (int y = c.height - 1; y >= 0; --y) {
        std::string row(std::size_t(rowBytes(c.width, 4)), '\0');
        for (int x = 0; x < c.width; ++x) {
            row[std::size_t(x / 2)] = char(row[std::size_t(x / 2)] | (c.at(x, y) << (x % 2 ? 0 : 4)));
        }
        out += row;
    }
    return out;
}

std::string bits1(const Canvas<std::uint8_t>& c)
{
    std::string out;
    for (int y = c.height - 1; y >= 0; --y) {
        std::string row(std::size_t(rowBytes(c.width, 1)), '\0');
        for (int x = 0; x < c.width; ++x) {
            if (c.at(x, y)) {
                row[std::size_t(x / 8)] = char(row[std::size_t(x / 8)] | (0x80 >> (x % 8)));
            }
        }
        out += row;
    }
    return out;
}

std::string bitmapFile(const std::string& info, const std::string& colours, const std::string& bits)
{
    const std::uint32_t offset = 14 + std::uint32_t(info.size() + colours.size());
    std::string out = "BM";
    put32(out, offset + std::uint32_t(bits.size()));
    put32(out, 0);
    put32(out, offset);
    return out + info + colours + bits;
}

std::string bitmap24(const Canvas<Rgb>& c)
{
    const std::string bits = bits24(c);
    return bitmapFile(infoHeader(c.width, c.height, 24, std::uint32_t(bits.size()), 0), {}, bits);
}

std::string bitmap4(const Canvas<std::uint8_t>& c)
{
    const std::string bits = bits4(c);
    return bitmapFile(infoHeader(c.width, c.height, 4, std::uint32_t(bits.size()), 16), palette(), bits);
}

// An icon file with one 16-colour image: its colours, then the AND mask
// that marks the transparent pixels.
std::string iconFile(const Icon& icon)
{
    const std::string colours = bits4(icon.colours), mask = bits1(icon.clear);
    const std::string image =
        infoHeader(32, 64, 4, std::uint32_t(colours.size() + mask.size()), 16) + palette() + colours + mask;
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, 1);
    out += char(32);
    out += char(32);
    out += char(16);
    out += char(0);
    put16(out, 1);
    put16(out, 4);
    put32(out, std::uint32_t(image.size()));
    put32(out, 6 + 16);
    return out + image;
}

std::string jpegFile(const Canvas<Rgb>& c, int quality)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(c.width);
    info.image_height = JDIMENSION(c.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(std::size_t(c.width) * 3);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const Rgb p = c.at(x, y);
            row[std::size_t(x) * 3] = p.r;
            row[std::size_t(x) * 3 + 1] = p.g;
            row[std::size_t(x) * 3 + 2] = p.b;
        }
        JSAMPROW line = row.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

bool write(const std::string& directory, const std::string& name, const std::string& bytes)
{
    std::ofstream file(directory + "/" + name, std::ios::binary);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    if (!file) {
        std::cerr << "qinghe-make-pictures: cannot write " << directory << "/" << name << "\n";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: qinghe-make-pictures <directory>\n";
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = write(dir, "ImageBak.jpg", jpegFile(canvas(ui::art::drawBackground(1)), 92)) &&
        write(dir, "ImageIco.jpg", jpegFile(canvas(ui::art::drawIcon(1)), 95)) &&
        write(dir, "SBtnDot.bmp", bitmap24(canvas(ui::art::drawDotGlyph(1)))) &&
        write(dir, "SBtnBack.bmp", bitmap24(canvas(ui::art::drawBackGlyph(1)))) &&
        write(dir, "BitBtnCancel.bmp", bitmap4(paletteIndexes(ui::art::drawCancelGlyph(1)))) &&
        write(dir, "qinghe-taxcalc.ico", iconFile(applicationIcon())) &&
        write(dir, "qinghe-taxcalc-32.png", png::pngFile(32, 32, iconRgba(applicationIcon()))) &&
        write(dir, "qinghe-taxcalc-64.png", png::pngFile(64, 64, sketchedIcon(64))) &&
        write(dir, "qinghe-taxcalc-128.png", png::pngFile(128, 128, sketchedIcon(128)));
    return ok ? 0 : 1;
}
