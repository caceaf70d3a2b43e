#include "ui/look/BitmapDecode.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace ui::pictures {

namespace {

constexpr std::uint32_t kUncompressed = 0;

// Little-endian reads that refuse to leave the data.
class Bytes {
public:
    explicit Bytes(QByteArrayView data) : data_(data) {}

    std::optional<std::uint32_t> read(qsizetype at, int size) const
    {
        if (at < 0 || at + size > data_.size()) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = size - 1; i >= 0; --i) {
            value = (value << 8) | static_cast<std::uint8_t>(data_[at + i]);
        }
        return value;
    }
    qsizetype size() const { return data_.size(); }
    std::uint8_t at(qsizetype i) const { return static_cast<std::uint8_t>(data_[i]); }

private:
    QByteArrayView data_;
};

struct DibHeader {
    int width = 0;
    int height = 0; // rows of the colour picture
    bool bottomUp = true;
    int bitsPerPixel = 0;
    std::vector<QRgb> palette;
    qsizetype paletteEnd = 0;
};

// The BITMAPINFOHEADER at `at`; an icon's header counts colour and mask rows.
std::optional<DibHeader> readDibHeader(const Bytes& bytes, qsizetype at, bool icon)
{
    const auto headerSize = bytes.read(at, 4);
    const auto width = bytes.read(at + 4, 4);
    const auto height = bytes.read(at + 8, 4);
    const auto bits = bytes.read(at + 14, 2);
    const auto compression = bytes.read(at + 16, 4);
    const auto coloursUsed = bytes.read(at + 32, 4);
    if (!headerSize || *headerSize < 40 || !width || !height || !bits || !compression || !coloursUsed ||
        *compression != kUncompressed) {
        return std::nullopt;
    }
    DibHeader header;
    header.width = static_cast<std::int32_t>(*width);
    auto rows = static_cast<std::int32_t>(*height);
    header.bottomUp = rows > 0;
    rows = rows < 0 ? -rows : rows;
    header.height = icon ? rows / 2 : rows;
    header.bitsPerPixel = static_cast<int>(*bits);
    constexpr int kLargest = 4096;
    if (header.width <= 0 || header.width > kLargest || header.height <= 0 || header.height > kLargest) {
        return std::nullopt;
    }
    if (header.bitsPerPixel != 1 && header.bitsPerPixel != 4 && header.bitsPerPixel != 8 && header.bitsPerPixel != 24 &&
        header.bitsPerPixel != 32) {
        return std::nullopt;
    }
    std::uint32_t colours = *coloursUsed;
    if (header.bitsPerPixel <= 8 && colours == 0) {
        colours = 1u << header.bitsPerPixel;
    }
    if (colours > 256) {
        return std::nullopt;
    }
    const qsizetype paletteStart = at + static_cast<qsizetype>(*headerSize);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const auto bgr = bytes.read(paletteStart + 4 * static_cast<qsizetype>(i), 4);
        if (!bgr) {
            return std::nullopt;
        }
        header.palette.push_back(qRgb((*bgr >> 16) & 0xFF, (*bgr >> 8) & 0xFF, *bgr & 0xFF));
    }
    header.paletteEnd = paletteStart + 4 * static_cast<qsizetype>(colours);
    return header;
}

qsizetype rowBytes(int width, int bitsPerPixel) { return (static_cast<qsizetype>(width) * bitsPerPixel + 31) / 32 * 4; }

// The colour picture whose first row in the data starts at `pixels`.
QImage readPixels(const Bytes& bytes, const DibHeader& header, qsizetype pixels)
{
    const qsizetype stride = rowBytes(header.width, header.bitsPerPixel);
    if (pixels < 0 || pixels + stride * header.height > bytes.size()) {
        return {};
    }
    QImage image(header.width, header.height, QImage::Format_ARGB32);
    for (int row = 0; row < header.height; ++row) {
        const qsizetype line = pixels + stride * (header.bottomUp ? header.height - 1 - row : row);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int x = 0; x < header.width; ++x) {
            if (header.bitsPerPixel >= 24) {
                const qsizetype p = line + static_cast<qsizetype>(x) * (header.bitsPerPixel / 8);
                out[x] = qRgb(bytes.at(p + 2), bytes.at(p + 1), bytes.at(p));
                continue;
            }
            const qsizetype bit = static_cast<qsizetype>(x) * header.bitsPerPixel;
            const int shift = 8 - header.bitsPerPixel - static_cast<int>(bit % 8);
            const auto index =
                static_cast<std::size_t>((bytes.at(line + bit / 8) >> shift) & ((1 << header.bitsPerPixel) - 1));
            if (index >= header.palette.size()) {
                return {};
            }
            out[x] = header.palette[index];
        }
    }
    return image;
}

} // namespace

QImage decodeBmp(QByteArrayView data)
{
    const Bytes bytes(data);
    const auto pixelsAt = bytes.read(10, 4);
    if (data.size() < 14 || data[0] != 'B' || data[1] != 'M' || !pixelsAt) {
        return {};
    }
    const auto header = readDibHeader(bytes, 14, false);
    if (!header) {
        return {};
    }
    return readPixels(bytes, *header, static_cast<qsizetype>(*pixelsAt)).convertToFormat(QImage::Format_RGB32);
}

QImage decodeIco(QByteArrayView data)
{
    const Bytes bytes(data);
    const auto reserved = bytes.read(0, 2);
    const auto type = bytes.read(2, 2);
    const auto count = bytes.read(4, 2);
    const auto imageAt = bytes.read(6 + 12, 4);
    if (!reserved || *reserved != 0 || !type || *type != 1 || !count || *count == 0 || !imageAt) {
        return {};
    }
    const auto header = readDibHeader(bytes, static_cast<qsizetype>(*imageAt), true);
    if (!header) {
        return {};
    }
    QImage image = readPixels(bytes, *header, header->paletteEnd);
    if (image.isNull()) {
        return {};
    }
    // The mask: one bit a pixel, set where the picture is see-through.
    const qsizetype maskAt = header->paletteEnd + rowBytes(header->width, header->bitsPerPixel) * header->height;
    const qsizetype maskStride = rowBytes(header->width, 1);
    if (maskAt + maskStride * header->height > bytes.size()) {
        return {};
    }
    for (int row = 0; row < header->height; ++row) {
        const qsizetype line = maskAt + maskStride * (header->bottomUp ? header->height - 1 - row : row);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(row));
        for (int x = 0; x < header->width; ++x) {
            if ((bytes.at(line + x / 8) >> (7 - x % 8)) & 1) {
                out[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    return image;
}

} // namespace ui::pictures
