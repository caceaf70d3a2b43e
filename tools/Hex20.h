#pragma once

#include "calc/Extended.h"

#include <optional>
#include <string>
#include <string_view>

namespace probe {

// The 10 bytes of an extended value as 20 lowercase hex digits, sign and
// exponent first: 1.0 -> "3fff8000000000000000".
std::string toHex20(calc::Extended x);
// Exactly 20 hex digits (either case), else nothing.
std::optional<calc::Extended> fromHex20(std::string_view hex);

} // namespace probe
