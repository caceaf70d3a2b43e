#include "ui/window/BackgroundLabel.h"

#include <QPaintEvent>
#include <QPainter>

namespace ui {

void BackgroundLabel::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = pixmap();
    if (picture.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    for (const QRect& part : event->region()) {
        painter.setClipRect(part);
        painter.drawPixmap(0, 0, picture);
    }
}

} // namespace ui
