#pragma once

#include <limits>
#include <string>
#include <string_view>

namespace calc {

// Every number of the calculator is the x87 80-bit extended real.
static_assert(std::numeric_limits<long double>::digits == 64,
    "long double must be the 80-bit extended type (64-bit significand)");
static_assert(std::numeric_limits<long double>::max_exponent == 16384, "long double must have a 15-bit exponent");

// Texts are code page 936 (GBK) byte strings; lengths count bytes.

// General form, 15 significant digits.
// GeneralText(1.0L / 3) -> "0.333333333333333", GeneralText(1e15L) -> "1E15",
// GeneralText(-0.0L) -> "0", GeneralText(1.5e-7L) -> "1.5E-7".
std::string GeneralText(long double x);

// Two decimals, at most `digits` (2 to 18) significant digits.
// FixedText(1234.995L, 12) -> "1235.00": the 18-digit form is rounded half up,
// not the binary value. FixedText(11700, 4) -> "1.17E04".
std::string FixedText(long double x, int digits);

// Reads a number text; throws EConvertError when the text is not one.
// ParseNumber(" 12. ") -> 12, ParseNumber("1E") -> 1, ParseNumber("-.") -> -0.
long double ParseNumber(std::string_view s);

// "12." -> "12", "." -> "0", "12.5" -> "12.5".
std::string TrimTrailingPoint(std::string_view s);

// Right-aligns a text of 1 to 24 bytes in 25 bytes; any other text gives "".
std::string AlignRight(std::string_view s);

// Drops bytes 0x00 to 0x20 at both ends.
std::string_view TrimBlanks(std::string_view s);

} // namespace calc
