#pragma once

#include <optional>

class QWidget;

namespace ui {

// Lets the user work out a number and hand it back: runs the calculator
// window modally with `start` on its entry line. Returns the number of the
// tape line the user double-clicked, or nothing when the window was closed.
// A start that is not finite (infinity, NaN) is refused: nothing, no window.
//
// `rate` is the tax rate in percent the window starts at, as if its rate key
// had set it; without one it starts at 17 %, as the program does. A rate the
// key would refuse (below 0, 100 or more, NaN) is refused the same way.
//
// The window works in the x87's 80-bit extended format on every CPU. The
// caller's long double converts to it and back exactly where it is that
// format (x86) or wider (binary128: arm64, s390x); where it is a 64-bit
// double (armhf) the start is exact and the answer is rounded to nearest.
//
//   if (auto amount = ui::pickValue(12.5L, this)) priceEdit->setValue(double(*amount));
//   if (auto tax = ui::pickValue(1000.0L, this, 13.0L)) taxEdit->setValue(double(*tax));
std::optional<long double> pickValue(
    long double start, QWidget* parent = nullptr, std::optional<long double> rate = std::nullopt);

} // namespace ui
