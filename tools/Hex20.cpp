#include "tools/Hex20.h"

#include <charconv>

namespace probe {

std::string toHex20(calc::Extended x)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * calc::Extended::kBytes);
    for (const std::uint8_t b : x.bytes()) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0F];
    }
    return hex;
}

std::optional<calc::Extended> fromHex20(std::string_view hex)
{
    calc::Extended::Bytes bytes{};
    if (hex.size() != 2 * bytes.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char* first = hex.data() + 2 * i;
        // from_chars would take a sign; two hex digits, nothing else.
        const auto isHex = [](char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); };
        if (!isHex(first[0]) || !isHex(first[1])) {
            return std::nullopt;
        }
        std::from_chars(first, first + 2, bytes[i], 16);
    }
    return calc::Extended::fromBytes(bytes);
}

} // namespace probe
