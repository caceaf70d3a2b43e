#include "ui/keyboard/XkbLayout.h"

#include "ui/keyboard/KeymapKeys.h"
#include "ui/platform/Platform.h"
#include "ui/platform/X11Window.h"

#include <QGuiApplication>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <string_view>

namespace ui {

namespace {

// The XKB protocol's event kinds that replace the keymap; the kind is the
// second byte of every XKB event.
constexpr std::uint8_t kNewKeyboardNotify = 0;
constexpr std::uint8_t kMapNotify = 1;

// The core event state holds the XKB layout group in bits 13 and 14.
constexpr std::uint32_t coreGroup(std::uint32_t state) { return (state >> 13) & 3U; }

} // namespace

void XkbLayout::ContextFree::operator()(xkb_context* context) const { xkb_context_unref(context); }
void XkbLayout::KeymapFree::operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }

XkbLayout::XkbLayout()
{
    context_.reset(xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES));
    if (!context_) {
        return;
    }
    switch (platform::displayServer()) {
    case platform::DisplayServer::X11: watchX11(); break;
    case platform::DisplayServer::Wayland: watchWayland(); break;
    case platform::DisplayServer::Other: break;
    }
}

XkbLayout::~XkbLayout() = default;

void XkbLayout::watchX11()
{
    xcb_connection_t* connection = x11::connection();
    std::uint8_t eventBase = 0;
    if (connection == nullptr ||
        xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &eventBase, nullptr) == 0) {
        return;
    }
    device_ = xkb_x11_get_core_keyboard_device_id(connection);
    xkbEvent_ = eventBase;
    // Qt's own keyboard asks the server for the events that change the
    // keymap; this filter sees them go by.
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool XkbLayout::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) == xkbEvent_ &&
        (event->pad0 == kNewKeyboardNotify || event->pad0 == kMapNotify)) {
        forgetKeymap();
    }
    return false;
}

void XkbLayout::KeyboardRelease::operator()(wl_keyboard* keyboard) const
{
    if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
        wl_keyboard_release(keyboard);
    } else {
        wl_keyboard_destroy(keyboard);
    }
}

const wl_keyboard_listener* XkbLayout::keyboardListener()
{
    static constexpr wl_keyboard_listener kListener{
        .keymap = &XkbLayout::keymapSent,
        .enter = [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
        .leave = [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
        .key = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        .modifiers = &XkbLayout::modifiersSent,
        .repeat_info = [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };
    return &kListener;
}

void XkbLayout::DisplayDisconnect::operator()(wl_display* display) const { wl_display_disconnect(display); }

void XkbLayout::SeatRelease::operator()(wl_seat* seat) const
{
    if (wl_seat_get_version(seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
        wl_seat_release(seat);
    } else {
        wl_seat_destroy(seat);
    }
}

void XkbLayout::watchWayland()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    // A keyboard of the window's own on Qt's seat: the compositor sends it
    // the keymap and, while the window has the focus, the layout group. Qt
    // reads events on this connection's default queue, so they reach the
    // listener on the window's thread.
    auto* wayland = qGuiApp->nativeInterface<QNativeInterface::QWaylandApplication>();
    wl_seat* seat = wayland != nullptr ? wayland->seat() : nullptr;
    if (seat == nullptr) {
        return;
    }
    waylandKeyboard_.reset(wl_seat_get_keyboard(seat));
    wl_keyboard_add_listener(waylandKeyboard_.get(), keyboardListener(), this);
#else
    // Qt names none of its Wayland objects: a connection of the window's own
    // to the compositor, whose keyboard is sent the keymap though it never
    // has the focus. The group then comes from the character Qt reports.
    ownDisplay_.reset(wl_display_connect(nullptr));
    if (!ownDisplay_) {
        return;
    }
    static constexpr wl_registry_listener kRegistry{
        .global =
            [](void* layout, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
                auto* self = static_cast<XkbLayout*>(layout);
                if (!self->ownSeat_ && std::string_view(interface) == wl_seat_interface.name) {
                    self->ownSeat_.reset(static_cast<wl_seat*>(
                        wl_registry_bind(registry, name, &wl_seat_interface, std::min<std::uint32_t>(version, 5))));
                }
            },
        .global_remove = [](void*, wl_registry*, std::uint32_t) {},
    };
    static constexpr wl_seat_listener kSeat{
        .capabilities =
            [](void* layout, wl_seat* seat, std::uint32_t capabilities) {
                auto* self = static_cast<XkbLayout*>(layout);
                if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && !self->waylandKeyboard_) {
                    self->waylandKeyboard_.reset(wl_seat_get_keyboard(seat));
                    wl_keyboard_add_listener(self->waylandKeyboard_.get(), keyboardListener(), self);
                }
            },
        .name = [](void*, wl_seat*, const char*) {},
    };
    wl_registry* registry = wl_display_get_registry(ownDisplay_.get());
    wl_registry_add_listener(registry, &kRegistry, this);
    wl_display_roundtrip(ownDisplay_.get()); // the seat
    wl_registry_destroy(registry);
    if (ownSeat_) {
        wl_seat_add_listener(ownSeat_.get(), &kSeat, this);
        wl_display_roundtrip(ownDisplay_.get()); // its keyboard
        wl_display_roundtrip(ownDisplay_.get()); // the keymap
    }
#endif
}

void XkbLayout::readOwnDisplay()
{
    wl_display* display = ownDisplay_.get();
    if (display == nullptr) {
        return;
    }
    // Whatever the compositor has sent (a new keymap), without waiting. A
    // connection the compositor has ended dispatches nothing more: the last
    // keymap it sent stays.
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) {
            waylandKeyboard_.reset();
            ownSeat_.reset();
            ownDisplay_.reset();
            return;
        }
    }
    wl_display_flush(display);
    pollfd ready{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&ready, 1, 0) > 0) {
        wl_display_read_events(display);
    } else {
        wl_display_cancel_read(display);
    }
    wl_display_dispatch_pending(display);
}

void XkbLayout::keymapSent(void* layout, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size)
{
    auto* self = static_cast<XkbLayout*>(layout);
    self->forgetKeymap();
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 1) {
        // Mapped private, as the protocol asks from version 7 on.
        void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            // The text ends with a NUL the buffer is not to hold.
            self->keymap_.reset(xkb_keymap_new_from_buffer(self->context_.get(), static_cast<const char*>(text),
                size - 1, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
            munmap(text, size);
        }
    }
    close(fd);
}

void XkbLayout::modifiersSent(
    void* layout, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t group)
{
    static_cast<XkbLayout*>(layout)->waylandGroup_ = group;
}

void XkbLayout::forgetKeymap() { keymap_.reset(); }

xkb_keymap* XkbLayout::keymap()
{
    if (!keymap_ && context_ && device_ >= 0) {
        keymap_.reset(
            xkb_x11_keymap_new_from_device(context_.get(), x11::connection(), device_, XKB_KEYMAP_COMPILE_NO_FLAGS));
    }
    return keymap_.get();
}

std::optional<LayoutKey> XkbLayout::describe(std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym)
{
    readOwnDisplay();
    xkb_keymap* map = keymap();
    if (map == nullptr || !xkb_keycode_is_legal_x11(keycode) || xkb_keymap_num_layouts_for_key(map, keycode) == 0) {
        return std::nullopt;
    }
    // On X11 the event's group. On Wayland the group the compositor last
    // said, unless the key did not type there what Qt reports (the group
    // can change between what the compositor tells this keyboard and Qt's),
    // or none at all where the window's keyboard has never had the focus.
    const xkb_layout_index_t group = device_ >= 0 ? coreGroup(state) % xkb_keymap_num_layouts_for_key(map, keycode)
                                                  : groupTyping(map, keycode, keysym, waylandGroup_.value_or(0));
    return describeKey(map, keycode, group);
}

} // namespace ui
