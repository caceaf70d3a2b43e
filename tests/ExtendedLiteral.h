#pragma once

#include "calc/Extended.h"
#include "calc/NumberText.h"

#include <ostream>
#include <string>

namespace calc {

// The extended value nearest a decimal literal, the same on every CPU
// whatever its long double: 1234.995_x, 1e4932_x.
inline Extended operator""_x(const char* literal) { return decimalValue(literal); }

// GoogleTest prints a value as its text and its bits.
inline void PrintTo(Extended x, std::ostream* out)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t b : x.bytes()) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0F];
    }
    *out << GeneralText(x) << " (" << hex << ")";
}

} // namespace calc

using calc::Extended;
using calc::operator""_x;
