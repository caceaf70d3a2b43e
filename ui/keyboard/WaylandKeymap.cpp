#include "ui/keyboard/KeymapKeys.h"
#include "ui/keyboard/KeymapSource.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <string_view>

namespace ui {

namespace {

struct KeymapUnref {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct DisplayDisconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct SeatRelease {
    void operator()(wl_seat* seat) const
    {
        if (wl_seat_get_version(seat) >= WL_SEAT_RELEASE_SINCE_VERSION) {
            wl_seat_release(seat);
        } else {
            wl_seat_destroy(seat);
        }
    }
};
struct KeyboardRelease {
    void operator()(wl_keyboard* keyboard) const
    {
        if (wl_keyboard_get_version(keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION) {
            wl_keyboard_release(keyboard);
        } else {
            wl_keyboard_destroy(keyboard);
        }
    }
};

// A connection to the compositor of the program's own, whose keyboard is
// sent the keymap though it never has the focus. Qt's own objects are not
// used: Qt 6.4 names none of them, and one path serves every Qt. Without
// the focus the group is not sent either; it comes from the character Qt
// reports.
class WaylandKeymap : public KeymapSource {
public:
    WaylandKeymap(xkb_context* context, wl_display* display) : context_(context), display_(display)
    {
        wl_registry* registry = wl_display_get_registry(display_.get());
        wl_registry_add_listener(registry, &kRegistry, this);
        wl_display_roundtrip(display_.get()); // the seat
        wl_registry_destroy(registry);
        if (seat_) {
            wl_seat_add_listener(seat_.get(), &kSeat, this);
            wl_display_roundtrip(display_.get()); // its keyboard
            wl_display_roundtrip(display_.get()); // the keymap
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
        while (wl_display_prepare_read(display) != 0) {
            if (wl_display_dispatch_pending(display) < 0) {
                keyboard_.reset();
                seat_.reset();
                display_.reset();
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

    static void seatFound(
        void* self, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version)
    {
        auto* source = static_cast<WaylandKeymap*>(self);
        if (!source->seat_ && std::string_view(interface) == wl_seat_interface.name) {
            source->seat_.reset(static_cast<wl_seat*>(
                wl_registry_bind(registry, name, &wl_seat_interface, std::min<std::uint32_t>(version, 5))));
        }
    }

    static void seatCapabilities(void* self, wl_seat* seat, std::uint32_t capabilities)
    {
        auto* source = static_cast<WaylandKeymap*>(self);
        if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && !source->keyboard_) {
            source->keyboard_.reset(wl_seat_get_keyboard(seat));
            wl_keyboard_add_listener(source->keyboard_.get(), &kKeyboard, source);
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

    xkb_context* context_;
    // Declared so that they go in the reverse order.
    std::unique_ptr<wl_display, DisplayDisconnect> display_;
    std::unique_ptr<wl_seat, SeatRelease> seat_;
    std::unique_ptr<wl_keyboard, KeyboardRelease> keyboard_;
    std::unique_ptr<xkb_keymap, KeymapUnref> keymap_;
};

} // namespace

std::unique_ptr<KeymapSource> waylandKeymap(xkb_context* context)
{
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    return std::make_unique<WaylandKeymap>(context, display);
}

} // namespace ui
