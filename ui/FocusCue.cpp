#include "ui/FocusCue.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <QRect>

namespace ui {

void drawFocusCue(QPainter& painter, const QRect& rect, const QColor& colour)
{
    painter.save();
    QPen pen(colour, 1);
    pen.setDashPattern({1, 1});
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace ui
