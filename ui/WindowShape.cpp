#include "ui/WindowShape.h"

#include "ui/X11Window.h"
#include "ui/pictures/PictureArt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace ui {

QRegion roundedRegion(QSize size, double diameter)
{
    QRegion region;
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        const int cut = ::pictures::cornerCut(std::min(y, h - 1 - y), diameter);
        if (w - 2 * cut > 0) {
            region += QRect(cut, y, w - 2 * cut, 1);
        }
    }
    return region;
}

qreal screenRatio(const QWidget* window)
{
    if (const QWindow* handle = window->windowHandle()) {
        return handle->devicePixelRatio();
    }
    return window->screen()->devicePixelRatio();
}

bool platformCutsWindows() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void prepareForShape(QWidget* window)
{
    if (!platformCutsWindows()) {
        window->setAttribute(Qt::WA_TranslucentBackground);
        window->setAutoFillBackground(false);
    }
}

void cutToShape(QWidget* window, qreal ratio)
{
    if (platformCutsWindows()) {
        // Qt scales a widget mask in logical pixels, which at a ratio of 2
        // gives corners in steps of two rows. The native window's size is
        // rounded as Qt rounds it.
        x11::setShape(window, roundedRegion(window->size() * ratio, kCornerEllipse * ratio));
        return;
    }
    window->setMask(roundedRegion(window->size(), kCornerEllipse));
}

} // namespace ui
