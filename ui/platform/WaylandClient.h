#pragma once

#include <cstdint>

struct wl_display;
struct wl_interface;
struct wl_proxy;

namespace ui::wayland {

// The functions of libwayland-client the program calls, loaded the first
// time it wants a Wayland connection of its own: a program on X11 then never
// loads the library, nor libffi, which it needs. Qt's Wayland plugin has
// already loaded it by then. Named as in wayland-client-core.h, without wl_.
struct Client {
    wl_display* (*display_connect)(const char* name);
    void (*display_disconnect)(wl_display* display);
    int (*display_roundtrip)(wl_display* display);
    int (*display_prepare_read)(wl_display* display);
    int (*display_dispatch_pending)(wl_display* display);
    int (*display_flush)(wl_display* display);
    int (*display_get_fd)(wl_display* display);
    int (*display_read_events)(wl_display* display);
    void (*display_cancel_read)(wl_display* display);
    wl_proxy* (*proxy_marshal_flags)(wl_proxy* proxy, std::uint32_t opcode, const wl_interface* interface,
        std::uint32_t version, std::uint32_t flags, ...);
    int (*proxy_add_listener)(wl_proxy* proxy, void (**implementation)(), void* data);
    std::uint32_t (*proxy_get_version)(wl_proxy* proxy);
    void (*proxy_destroy)(wl_proxy* proxy);
    const wl_interface* registry_interface;
    const wl_interface* seat_interface;
    const wl_interface* keyboard_interface;
};

// The library's functions, loaded once; null where it cannot be loaded.
const Client* client();

} // namespace ui::wayland
