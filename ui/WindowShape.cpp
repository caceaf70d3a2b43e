#include "ui/WindowShape.h"

#include "ui/pictures/PictureArt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <vector>

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

namespace {

// Qt scales a widget mask in logical pixels, which at a ratio of 2 gives
// corners in steps of two rows; the SHAPE request takes device pixels.
bool cutX11Window(QWidget* window, qreal ratio)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection()) {
        return false;
    }
    // The native window's size, rounded as Qt rounds it.
    const QRegion shape = roundedRegion(window->size() * ratio, kCornerEllipse * ratio);
    std::vector<xcb_rectangle_t> rows;
    for (const QRect& row : shape) {
        rows.push_back({static_cast<int16_t>(row.x()), static_cast<int16_t>(row.y()),
            static_cast<uint16_t>(row.width()), static_cast<uint16_t>(row.height())});
    }
    xcb_connection_t* connection = x11->connection();
    xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
        static_cast<xcb_window_t>(window->winId()), 0, 0, static_cast<uint32_t>(rows.size()), rows.data());
    xcb_flush(connection);
    return true;
}

} // namespace

void cutToShape(QWidget* window, qreal ratio)
{
    if (platformCutsWindows()) {
        cutX11Window(window, ratio);
        return;
    }
    window->setMask(roundedRegion(window->size(), kCornerEllipse));
}

} // namespace ui
