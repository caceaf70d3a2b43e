#include "tools/Hex20.h"

#include <cstring>

namespace probe {

std::string toHex20(long double x)
{
    unsigned char bytes[10];
    std::memcpy(bytes, &x, sizeof bytes);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex(20, '0');
    for (int i = 0; i < 10; ++i) {
        const unsigned char b = bytes[9 - i]; // most significant byte first
        hex[2 * i] = kDigits[b >> 4];
        hex[2 * i + 1] = kDigits[b & 0x0F];
    }
    return hex;
}

std::optional<long double> fromHex20(std::string_view hex)
{
    if (hex.size() != 20) {
        return std::nullopt;
    }
    unsigned char bytes[16] = {};
    for (int i = 0; i < 20; ++i) {
        const char c = hex[static_cast<std::size_t>(i)];
        int v = 0;
        if (c >= '0' && c <= '9') {
            v = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            v = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            v = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        const int byte = 9 - i / 2;
        bytes[byte] = static_cast<unsigned char>(bytes[byte] | (i % 2 == 0 ? v << 4 : v));
    }
    long double x = 0;
    std::memcpy(&x, bytes, sizeof x);
    return x;
}

} // namespace probe
