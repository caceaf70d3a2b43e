#pragma once

#include "calc/Extended.h"

#include <string>
#include <string_view>

namespace calc {

// Texts are code page 936 (GBK) byte strings; lengths count bytes.

// General form, 15 significant digits.
// GeneralText(1 / 3) -> "0.333333333333333", GeneralText(1E15) -> "1E15",
// GeneralText(-0) -> "0", GeneralText(1.5E-7) -> "1.5E-7"; a denormal reads "0".
std::string GeneralText(Extended x);

// Two decimals, at most `digits` (2 to 18) significant digits.
// FixedText(1234.995, 12) -> "1235.00": the 18-digit form is rounded half up,
// not the binary value. FixedText(11700, 4) -> "1.17E04".
std::string FixedText(Extended x, int digits);

// Reads a number text; throws EConvertError when the text is not one.
// ParseNumber(" 12. ") -> 12, ParseNumber("1E") -> 1, ParseNumber("-.") -> -0.
Extended ParseNumber(std::string_view s);

// "12." -> "12", "." -> "0", "12.5" -> "12.5".
std::string TrimTrailingPoint(std::string_view s);

// Right-aligns a text of 1 to 24 bytes in 25 bytes; any other text gives "".
std::string AlignRight(std::string_view s);

// Drops bytes 0x00 to 0x20 at both ends.
std::string_view TrimBlanks(std::string_view s);

} // namespace calc
