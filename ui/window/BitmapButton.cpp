#include "ui/window/BitmapButton.h"

#include "ui/window/FocusCue.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace ui {

BitmapButton::BitmapButton(QWidget* parent) : QToolButton(parent) { setToolButtonStyle(Qt::ToolButtonTextUnderIcon); }

// As QToolButton paints, less the style's own focus frame, which most styles
// draw only after the first Tab and faintly; the cue takes its place.
void BitmapButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.state &= ~QStyle::State_HasFocus;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
    if (hasFocus()) {
        drawFocusCue(painter, rect().adjusted(3, 3, -3, -3), palette().color(QPalette::ButtonText));
    }
}

} // namespace ui
