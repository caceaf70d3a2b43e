#pragma once

#include <QPoint>
#include <QRect>

namespace ui {

// Where a window of `window`'s size goes so that it is whole inside
// `available` while moving as little as it can from where it is: a window
// that fits stays; one larger than the area keeps its top left corner on it.
// fitInside({182, 175, 574, 250}, {0, 0, 640, 480}) -> (66, 175).
QPoint fitInside(const QRect& window, const QRect& available);

} // namespace ui
