#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

// The scale factors the window is drawn for. Below 1, Qt 6 lays a window out
// at the smaller size but paints only part of it; far above the largest, the
// window and its pictures would take gigabytes.
inline constexpr double kSmallestScale = 1;
inline constexpr double kLargestScale = 8;

// A QT_SCALE_FACTOR value -> the value to run with instead, or nothing to
// keep it: "0.5" -> "1", "100" -> "8", "1.33" and "abc" (which Qt ignores)
// -> nothing.
std::optional<std::string> boundedScaleFactor(std::string_view value);

// Applies boundedScaleFactor() to the environment before QApplication reads
// it, saying so on stderr.
void boundScaleFactor();

} // namespace app
