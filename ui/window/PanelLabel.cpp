#include "ui/window/PanelLabel.h"

#include <QAccessible>
#include <QPainter>

namespace ui {

PanelLabel::PanelLabel(QWidget* parent) : QLabel(parent)
{
    // Inside the border, one more pixel left and right before the text.
    setContentsMargins(2, 1, 2, 1);
}

void PanelLabel::setCaption(const QString& text)
{
    if (text == this->text()) {
        return;
    }
    const QString before = this->text();
    setText(text);
    // A reader hears the new caption without moving to it.
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent event(this, 0, before, text);
        QAccessible::updateAccessibility(&event);
    }
}

void PanelLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ui
