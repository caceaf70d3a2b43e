#pragma once

#include <optional>

class QWidget;

namespace ui {

// Lets the user work out a number and hand it back: runs the calculator
// window modally with `start` on its entry line. Returns the number of the
// tape line the user double-clicked, or nothing when the window was closed.
// A start that is not finite (infinity, NaN) is refused: nothing, no window.
//
// The window works in the x87's 80-bit extended format on every CPU. The
// caller's long double converts to it and back exactly where it is that
// format (x86) or wider (binary128: arm64, s390x); where it is a 64-bit
// double (armhf) the start is exact and the answer is rounded to nearest.
//
//   if (auto amount = ui::pickValue(12.5L, this)) priceEdit->setValue(double(*amount));
std::optional<long double> pickValue(long double start, QWidget* parent = nullptr);

} // namespace ui
