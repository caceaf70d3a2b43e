// Draws the calculator window's pictures:
//   qinghe-make-pictures <directory>
// writes ImageBak.jpg, ImageIco.jpg, SBtnDot.bmp, SBtnBack.bmp,
// BitBtnCancel.bmp and qinghe-taxcalc.ico, and the desktop icons
// qinghe-taxcalc-<size>.png in every size of kDesktopIconSizes and
// qinghe-taxcalc.svg. The output is the same on every run, so the committed
// files can be checked against a fresh drawing.

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

#include "DesktopIcons.h"
#include "Palette.h"
#include "PngFile.h"
#include "calc/CFree.h"
#include "ui/look/PictureArt.h"

namespace {

using namespace makepictures;

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
    // libjpeg's memory destination is malloc'ed, the caller's to free.
    const calc::CHandle<unsigned char, &std::free> compressed(buffer);
    jpeg_destroy_compress(&info);
    return std::string(reinterpret_cast<const char*>(compressed.get()), size);
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
    bool ok = write(dir, "ImageBak.jpg", jpegFile(canvas(ui::art::drawBackground(1)), 92)) &&
        write(dir, "ImageIco.jpg", jpegFile(canvas(ui::art::drawIcon(1)), 95)) &&
        write(dir, "SBtnDot.bmp", bitmap24(canvas(ui::art::drawDotGlyph(1)))) &&
        write(dir, "SBtnBack.bmp", bitmap24(canvas(ui::art::drawBackGlyph(1)))) &&
        write(dir, "BitBtnCancel.bmp", bitmap4(paletteIndexes(ui::art::drawCancelGlyph(1)))) &&
        write(dir, "qinghe-taxcalc.ico", iconFile(applicationIcon())) && write(dir, "qinghe-taxcalc.svg", iconSvg());
    for (const int size : kDesktopIconSizes) {
        const std::vector<std::uint8_t> rgba = size == 32 ? iconRgba(applicationIcon()) : sketchedIcon(size);
        ok = ok && write(dir, "qinghe-taxcalc-" + std::to_string(size) + ".png", png::pngFile(size, size, rgba));
    }
    return ok ? 0 : 1;
}
