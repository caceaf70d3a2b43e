#include "PngFile.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace png {

namespace {

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) {
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}();

// crc32("IEND") == 0xAE426082, as every PNG file ends.
std::uint32_t crc32(std::string_view bytes)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes) {
        c = kCrcTable[(c ^ std::uint8_t(b)) & 0xFF] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(std::string_view bytes)
{
    std::uint32_t a = 1, b = 0;
    for (const char byte : bytes) {
        a = (a + std::uint8_t(byte)) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBig32(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += char((v >> shift) & 0xFF);
    }
}

std::string chunk(std::string_view type, std::string_view data)
{
    std::string out;
    putBig32(out, std::uint32_t(data.size()));
    std::string typed(type);
    typed += data;
    out += typed;
    putBig32(out, crc32(typed));
    return out;
}

// A zlib stream of stored blocks, each at most 65535 bytes.
std::string storedZlib(std::string_view raw)
{
    std::string out = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out += char(last ? 1 : 0);
        out += char(length & 0xFF);
        out += char(length >> 8);
        out += char(~length & 0xFF);
        out += char((~length >> 8) & 0xFF);
        out += raw.substr(at, length);
        at += length;
    } while (at < raw.size());
    putBig32(out, adler32(raw));
    return out;
}

} // namespace

std::string pngFile(int width, int height, const std::vector<std::uint8_t>& rgba)
{
    std::string header;
    putBig32(header, std::uint32_t(width));
    putBig32(header, std::uint32_t(height));
    header += std::string_view("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace

    const std::size_t rowBytes = std::size_t(width) * 4;
    std::string raw;
    raw.reserve((rowBytes + 1) * std::size_t(height));
    for (int y = 0; y < height; ++y) {
        raw += '\0'; // filter type None
        const auto* row = rgba.data() + rowBytes * std::size_t(y);
        raw.append(reinterpret_cast<const char*>(row), rowBytes);
    }
    return std::string("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) + chunk("IDAT", storedZlib(raw)) +
        chunk("IEND", {});
}

} // namespace png
