#include "ui/platform/ScreenFit.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace ui {

QPoint fitInside(const QRect& window, const QRect& available)
{
    // The right and bottom limits first, then the left and top ones, so that
    // a window too large for the area shows its top left corner.
    const int left = std::max(available.left(), std::min(window.left(), available.right() - window.width() + 1));
    const int top = std::max(available.top(), std::min(window.top(), available.bottom() - window.height() + 1));
    return {left, top};
}

void fitToRatio(QWidget* window)
{
    QWindow* handle = window->windowHandle();
    if (!handle || !handle->screen()) {
        return;
    }
    // QWindow::geometry() reads the native window at the new screen's ratio:
    // its place there, and a size other than the window's until the native
    // window follows. Qt 6.8 has already given the window that size, so the
    // size wanted is the fixed one.
    const QSize size = window->minimumSize();
    const QRect native = handle->geometry();
    if (native.size() == size) {
        return;
    }
    QRect place(native.topLeft(), size);
    place.moveTopLeft(fitInside(place, handle->screen()->availableGeometry()));
    // Qt writes the size hints for the new ratio before it asks for the
    // size: a window manager holds the window to the hints it has.
    handle->setGeometry(place);
    // The window's own geometry follows at once, not when the server
    // answers: the shape is cut to it next.
    window->setGeometry(place);
}

} // namespace ui
