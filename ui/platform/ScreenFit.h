#pragma once

#include <QPoint>
#include <QRect>

class QWidget;

namespace ui {

// Where a window of `window`'s size goes so that it is whole inside
// `available` while moving as little as it can from where it is: a window
// that fits stays; one larger than the area keeps its top left corner on it.
// fitInside({182, 175, 574, 250}, {0, 0, 640, 480}) -> (66, 175).
QPoint fitInside(const QRect& window, const QRect& available);

// Brings the native window of `window`, a window of fixed size, to that size
// at the device pixel ratio of the screen it is now on, whole inside that
// screen's available area. Qt keeps the native size of the ratio the window
// left: moved from a screen at 1 to one at 2, a window drawn at 1148 x 500
// would stay 574 x 250 on the X server, its window manager's size hints with
// it. Nothing changes while the native window has its size.
void fitToRatio(QWidget* window);

} // namespace ui
