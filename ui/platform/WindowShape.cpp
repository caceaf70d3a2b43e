#include "ui/platform/WindowShape.h"

#include "ui/look/PictureArt.h"
#include "ui/platform/Platform.h"
#include "ui/platform/X11Window.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace ui {

QRegion roundedRegion(QSize size, double diameter)
{
    QRegion region;
    const int w = size.width(), h = size.height();
    for (int y = 0; y < h; ++y) {
        const int cut = art::cornerCut(std::min(y, h - 1 - y), diameter);
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

void prepareForShape(QWidget* window)
{
    if (!platform::serverCutsWindows()) {
        window->setAttribute(Qt::WA_TranslucentBackground);
        window->setAutoFillBackground(false);
    }
}

void cutToShape(QWidget* window, qreal ratio)
{
    if (platform::serverCutsWindows()) {
        // Qt scales a widget mask in logical pixels, which at a ratio of 2
        // gives corners in steps of two rows. The native window's size is
        // rounded as Qt rounds it.
        x11::setShape(window, roundedRegion(window->size() * ratio, art::kCornerDiameter * ratio));
        return;
    }
    window->setMask(roundedRegion(window->size(), art::kCornerDiameter));
}

} // namespace ui
