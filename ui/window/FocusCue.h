#pragma once

class QColor;
class QPainter;
class QRect;

namespace ui {

// The keyboard focus as the window draws it: a dotted one-pixel frame just
// inside `rect`, every other pixel set, in `colour`. Drawn whenever a
// control holds the focus, not only after the first Tab as styles do.
void drawFocusCue(QPainter& painter, const QRect& rect, const QColor& colour);

} // namespace ui
