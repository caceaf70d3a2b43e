#include "calc/CFree.h"
#include "ui/keyboard/KeymapKeys.h"
#include "ui/keyboard/KeymapSource.h"
#include "ui/platform/WaylandClient.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
// The protocol's types, listeners and constants only: its inline requests
// would link the library, which the program loads itself (WaylandClient.h).
#include <wayland-client.h>

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <string_view>

namespace ui {

namespace {

template <class Object>
wl_proxy* proxy(Object* object)
{
    return reinterpret_cast<wl_proxy*>(object);
}

template <class Listener>
void listen(const wayland::Client& wl, void* object, const Listener* listener, void* data)
{
    // As the protocol's own add_listener: the listener is a table of functions.
    wl.proxy_add_listener(
        static_cast<wl_proxy*>(object), reinterpret_cast<void (**)()>(const_cast<Listener*>(listener)), data);
}

// Sends `object` the request `opcode` that destroys it where its version
// has it (release, since `since`), or destroys it on this side alone.
void release(void* object, std::uint32_t opcode, std::uint32_t since)
{
    const wayland::Client& wl = *wayland::client();
    auto* p = static_cast<wl_proxy*>(object);
    if (wl.proxy_get_version(p) >= since) {
        wl.proxy_marshal_flags(p, opcode, nullptr, wl.proxy_get_version(p), WL_MARSHAL_FLAG_DESTROY);
    } else {
        wl.proxy_destroy(p);
    }
}

void disconnect(wl_display* display) { wayland::client()->display_disconnect(display); }
void releaseSeat(wl_seat* seat) { release(seat, WL_SEAT_RELEASE, WL_SEAT_RELEASE_SINCE_VERSION); }
void releaseKeyboard(wl_keyboard* keyboard)
{
    release(keyboard, WL_KEYBOARD_RELEASE, WL_KEYBOARD_RELEASE_SINCE_VERSION);
}

// A connection to the compositor of the program's own, whose keyboard is
// sent the keymap though it never has the focus. Qt's own objects are not
// used: Qt 6.4 names none of them, and one path serves every Qt. Without
// the focus the group is not sent either; it comes from the character Qt
// reports.
class WaylandKeymap : public KeymapSource {
public:
    WaylandKeymap(const wayland::Client& wl, xkb_context* context, wl_display* display)
        : wl_(wl)
        , context_(context)
        , display_(display)
    {
        wl_proxy* registry = wl_.proxy_marshal_flags(proxy(display), WL_DISPLAY_GET_REGISTRY, wl_.registry_interface,
            wl_.proxy_get_version(proxy(display)), 0, nullptr);
        listen(wl_, registry, &kRegistry, this);
        wl_.display_roundtrip(display); // the seat
        wl_.proxy_destroy(registry);
        if (seat_) {
            listen(wl_, seat_.get(), &kSeat, this);
            wl_.display_roundtrip(display); // its keyboard
            wl_.display_roundtrip(display); // the keymap
        }
    }

    xkb_keymap* keymap() override
    {
        readSent();
        return keymap_.get();
    }

    std::uint32_t group(xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t, std::uint32_t keysym) override
    {
        return groupTyping(keymap, keycode, keysym, 0);
    }

private:
    // Whatever the compositor has sent (a new keymap), without waiting. A
    // connection the compositor has ended dispatches nothing more: the last
    // keymap it sent stays.
    void readSent()
    {
        wl_display* display = display_.get();
        if (display == nullptr) {
            return;
        }
        while (wl_.display_prepare_read(display) != 0) {
            if (wl_.display_dispatch_pending(display) < 0) {
                keyboard_.reset();
                seat_.reset();
                display_.reset();
                return;
            }
        }
        wl_.display_flush(display);
        pollfd ready{wl_.display_get_fd(display), POLLIN, 0};
        if (poll(&ready, 1, 0) > 0) {
            wl_.display_read_events(display);
        } else {
            wl_.display_cancel_read(display);
        }
        wl_.display_dispatch_pending(display);
    }

    static void seatFound(
        void* self, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version)
    {
        auto* source = static_cast<WaylandKeymap*>(self);
        const wayland::Client& wl = source->wl_;
        if (!source->seat_ && std::string_view(interface) == wl.seat_interface->name) {
            const std::uint32_t bound = std::min<std::uint32_t>(version, 5);
            source->seat_.reset(reinterpret_cast<wl_seat*>(wl.proxy_marshal_flags(proxy(registry), WL_REGISTRY_BIND,
                wl.seat_interface, bound, 0, name, wl.seat_interface->name, bound, nullptr)));
        }
    }

    static void seatCapabilities(void* self, wl_seat* seat, std::uint32_t capabilities)
    {
        auto* source = static_cast<WaylandKeymap*>(self);
        const wayland::Client& wl = source->wl_;
        if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && !source->keyboard_) {
            source->keyboard_.reset(reinterpret_cast<wl_keyboard*>(wl.proxy_marshal_flags(proxy(seat),
                WL_SEAT_GET_KEYBOARD, wl.keyboard_interface, wl.proxy_get_version(proxy(seat)), 0, nullptr)));
            listen(wl, source->keyboard_.get(), &kKeyboard, source);
        }
    }

    static void keymapSent(void* self, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size)
    {
        auto* source = static_cast<WaylandKeymap*>(self);
        source->keymap_.reset();
        if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 1) {
            // Mapped private, as the protocol asks from version 7 on.
            void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
            if (text != MAP_FAILED) {
                // The text ends with a NUL the buffer is not to hold.
                source->keymap_.reset(xkb_keymap_new_from_buffer(source->context_, static_cast<const char*>(text),
                    size - 1, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
                munmap(text, size);
            }
        }
        close(fd);
    }

    static constexpr wl_registry_listener kRegistry{
        .global = &seatFound,
        .global_remove = [](void*, wl_registry*, std::uint32_t) {},
    };
    static constexpr wl_seat_listener kSeat{
        .capabilities = &seatCapabilities,
        .name = [](void*, wl_seat*, const char*) {},
    };
    static constexpr wl_keyboard_listener kKeyboard{
        .keymap = &keymapSent,
        .enter = [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
        .leave = [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
        .key = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        .modifiers = [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
                         std::uint32_t) {},
        .repeat_info = [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };

    const wayland::Client& wl_;
    xkb_context* context_;
    // Declared so that they go in the reverse order.
    calc::CHandle<wl_display, &disconnect> display_;
    calc::CHandle<wl_seat, &releaseSeat> seat_;
    calc::CHandle<wl_keyboard, &releaseKeyboard> keyboard_;
    calc::CHandle<xkb_keymap, &xkb_keymap_unref> keymap_;
};

} // namespace

std::unique_ptr<KeymapSource> waylandKeymap(xkb_context* context)
{
    const wayland::Client* wl = wayland::client();
    wl_display* display = wl != nullptr ? wl->display_connect(nullptr) : nullptr;
    if (display == nullptr) {
        return nullptr;
    }
    return std::make_unique<WaylandKeymap>(*wl, context, display);
}

} // namespace ui
