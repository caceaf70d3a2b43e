#pragma once

#include <optional>

class QWidget;

namespace ui {

// Lets the user work out a number and hand it back: runs the calculator
// window modally with `start` on its entry line. Returns the number of the
// tape line the user double-clicked, or nothing when the window was closed.
// A start that is not finite (infinity, NaN) is refused: nothing, no window.
//
//   if (auto amount = ui::pickValue(12.5L, this)) priceEdit->setValue(double(*amount));
std::optional<long double> pickValue(long double start, QWidget* parent = nullptr);

} // namespace ui
