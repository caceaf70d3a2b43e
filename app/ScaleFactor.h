#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

// A QT_SCALE_FACTOR value -> the value to run with instead, or nothing to
// keep it, for the scales the window is drawn for (ui/look/Scales.h, 1 to 8):
// "0.5" -> "1", "100" -> "8", "1.33" and "abc" (which Qt ignores) -> nothing.
std::optional<std::string> boundedScaleFactor(std::string_view value);

// Applies boundedScaleFactor() to the environment before QApplication reads
// it, saying so on stderr.
void boundScaleFactor();

} // namespace app
