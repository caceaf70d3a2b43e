#include "ui/platform/X11Window.h"

#include "calc/CFree.h"
#include "ui/platform/Platform.h"
#include "ui/platform/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace ui::x11 {

xcb_connection_t* connection()
{
    if (platform::displayServer() != platform::DisplayServer::X11) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

namespace {

// xcb replies and errors are malloc'ed.
template <class Reply>
using ReplyPtr = calc::CHandle<Reply, &std::free>;

template <class Reply>
ReplyPtr<Reply> own(Reply* reply)
{
    return ReplyPtr<Reply>(reply);
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const auto reply =
        own(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

xcb_window_t rootOf(xcb_connection_t* c, xcb_window_t window)
{
    const auto reply = own(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return reply ? reply->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
}

bool supported(xcb_connection_t* c, xcb_window_t root, xcb_atom_t wanted)
{
    const xcb_atom_t list = atom(c, "_NET_SUPPORTED");
    const auto reply =
        own(xcb_get_property_reply(c, xcb_get_property(c, 0, root, list, XCB_ATOM_ATOM, 0, 1024), nullptr));
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

// The place of another client's window on its root window, in device
// pixels; nothing when there is no such window. The error of a window that
// is gone comes back here rather than as a warning of Qt's event reader.
std::optional<QRect> placeOnRoot(xcb_connection_t* c, xcb_window_t window)
{
    xcb_generic_error_t* error = nullptr;
    const auto geometry = own(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), &error));
    const auto geometryError = own(error);
    if (!geometry) {
        return std::nullopt;
    }
    const auto origin =
        own(xcb_translate_coordinates_reply(c, xcb_translate_coordinates(c, window, geometry->root, 0, 0), &error));
    const auto originError = own(error);
    if (!origin) {
        return std::nullopt;
    }
    return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
}

// Device pixels to Qt's logical ones. Qt scales each screen by its own
// factor about the screen's top left corner, which both systems share.
QPoint logicalPoint(QPoint device)
{
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect logical = screen->geometry();
        const qreal ratio = screen->devicePixelRatio();
        const QRect native(logical.topLeft(), (QSizeF(logical.size()) * ratio).toSize());
        if (native.contains(device)) {
            return logical.topLeft() + (QPointF(device - logical.topLeft()) / ratio).toPoint();
        }
    }
    return device;
}

} // namespace

bool setShape(QWidget* window, const QRegion& deviceRegion)
{
    xcb_connection_t* c = connection();
    if (!c) {
        return false;
    }
    std::vector<xcb_rectangle_t> rects;
    for (const QRect& r : deviceRegion) {
        rects.push_back({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()), static_cast<uint16_t>(r.width()),
            static_cast<uint16_t>(r.height())});
    }
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, XCB_CLIP_ORDERING_UNSORTED,
        static_cast<xcb_window_t>(window->winId()), 0, 0, static_cast<uint32_t>(rects.size()), rects.data());
    xcb_flush(c);
    return true;
}

bool startWindowManagerMove(QWidget* window)
{
    xcb_connection_t* c = connection();
    if (!c) {
        return false;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = rootOf(c, id);
    const xcb_atom_t moveResize = atom(c, "_NET_WM_MOVERESIZE");
    if (root == XCB_WINDOW_NONE || moveResize == XCB_ATOM_NONE || !supported(c, root, moveResize)) {
        return false;
    }
    const auto pointer = own(xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr));
    if (!pointer) {
        return false;
    }
    constexpr uint32_t kMove = 8, kLeftButton = 1, kFromApplication = 1;
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = moveResize;
    message.data.data32[0] = static_cast<uint32_t>(pointer->root_x);
    message.data.data32[1] = static_cast<uint32_t>(pointer->root_y);
    message.data.data32[2] = kMove;
    message.data.data32[3] = kLeftButton;
    message.data.data32[4] = kFromApplication;
    // The window manager grabs the pointer only once the press's own grab is gone.
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    return true;
}

Attached attachTo(QWidget* window, WId parent)
{
    xcb_connection_t* c = connection();
    if (!c) {
        return Attached::NotX11;
    }
    const auto parentPlace = placeOnRoot(c, static_cast<xcb_window_t>(parent));
    if (!parentPlace) {
        return Attached::NoSuchWindow;
    }
    window->winId();
    // The foreign QWindow only names the other program's window; the window
    // owns it, and deleting it leaves that window alone.
    QWindow* foreign = QWindow::fromWinId(parent);
    static_cast<QObject*>(foreign)->setParent(window);
    window->windowHandle()->setTransientParent(foreign);

    const QPoint centre = logicalPoint(parentPlace->center());
    QRect place(QPoint(), window->frameSize());
    place.moveCenter(centre);
    if (const QScreen* screen = QGuiApplication::screenAt(centre)) {
        place.moveTopLeft(fitInside(place, screen->availableGeometry()));
    }
    window->move(place.topLeft());
    return Attached::Yes;
}

} // namespace ui::x11
