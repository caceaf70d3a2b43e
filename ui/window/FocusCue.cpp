#include "ui/window/FocusCue.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace ui {

// Dot by dot rather than with a dashed pen: scaled, a dashed pen's gaps can
// close up into a solid frame, while each dot grows as a pixel does.
void drawFocusCue(QPainter& painter, const QRect& rect, const QColor& colour)
{
    const auto dot = [&](int x, int y) { painter.fillRect(x, y, 1, 1, colour); };
    for (int x = rect.left(); x <= rect.right(); x += 2) {
        dot(x, rect.top());
        dot(x, rect.bottom());
    }
    for (int y = rect.top() + 2; y < rect.bottom(); y += 2) {
        dot(rect.left(), y);
        dot(rect.right(), y);
    }
}

} // namespace ui
