#include "ui/platform/WaylandClient.h"

#include <dlfcn.h>

#include <array>
#include <optional>
#include <utility>

namespace ui::wayland {

namespace {

// Fills `slot` with the library's symbol `name`; false where it has none.
template <class Slot>
bool bind(void* library, const char* name, Slot& slot)
{
    void* symbol = dlsym(library, name);
    slot = reinterpret_cast<Slot>(symbol);
    return symbol != nullptr;
}

std::optional<Client> load()
{
    // Kept for the life of the process, as the connections made with it.
    void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    Client c{};
    const std::array bound{
        bind(library, "wl_display_connect", c.display_connect),
        bind(library, "wl_display_disconnect", c.display_disconnect),
        bind(library, "wl_display_roundtrip", c.display_roundtrip),
        bind(library, "wl_display_prepare_read", c.display_prepare_read),
        bind(library, "wl_display_dispatch_pending", c.display_dispatch_pending),
        bind(library, "wl_display_flush", c.display_flush),
        bind(library, "wl_display_get_fd", c.display_get_fd),
        bind(library, "wl_display_read_events", c.display_read_events),
        bind(library, "wl_display_cancel_read", c.display_cancel_read),
        bind(library, "wl_proxy_marshal_flags", c.proxy_marshal_flags),
        bind(library, "wl_proxy_add_listener", c.proxy_add_listener),
        bind(library, "wl_proxy_get_version", c.proxy_get_version),
        bind(library, "wl_proxy_destroy", c.proxy_destroy),
        bind(library, "wl_registry_interface", c.registry_interface),
        bind(library, "wl_seat_interface", c.seat_interface),
        bind(library, "wl_keyboard_interface", c.keyboard_interface),
    };
    for (const bool found : bound) {
        if (!found) {
            return std::nullopt;
        }
    }
    return c;
}

} // namespace

const Client* client()
{
    static const std::optional<Client> loaded = load();
    return loaded ? &*loaded : nullptr;
}

} // namespace ui::wayland
