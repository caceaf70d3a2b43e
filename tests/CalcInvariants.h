#pragma once

// What must hold after every key once the window has been shown; shared by
// the randomized test and the key-sequence fuzzer.

#include "calc/Calculator.h"

#include <optional>
#include <string>
#include <string_view>

namespace invariants {

// One of the kinds of line the calculator writes.
bool isTapeLine(std::string_view line);

// A description of the first broken invariant, or nothing. The last tape
// line is always checked; every line when wholeTape is set.
std::optional<std::string> brokenInvariant(const calc::Calculator& c, bool wholeTape);

} // namespace invariants
