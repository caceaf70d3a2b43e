#pragma once

namespace ui {

// The device pixel ratios the window is drawn for. Below 1, Qt 6 lays a
// window out at the smaller size but paints only part of it. The pictures
// are drawn afresh for the ratio, and far above the largest they would take
// gigabytes (a background for a ratio of 100 would): a screen beyond it gets
// pictures drawn for the largest, which Qt scales. The program keeps
// QT_SCALE_FACTOR within these bounds.
inline constexpr double kSmallestScale = 1;
inline constexpr double kLargestScale = 8;

} // namespace ui
