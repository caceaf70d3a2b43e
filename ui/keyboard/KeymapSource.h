#pragma once

#include <cstdint>
#include <memory>

struct xkb_context;
struct xkb_keymap;

namespace ui {

// Where the keyboard layout in use comes from: the display server's keymap,
// and the layout group a key press was typed in. One per display server;
// XkbLayout owns the one the program's display needs.
class KeymapSource {
public:
    KeymapSource() = default;
    virtual ~KeymapSource() = default;
    KeymapSource(const KeymapSource&) = delete;
    KeymapSource& operator=(const KeymapSource&) = delete;

    // The keymap in use now; null where none can be read.
    virtual xkb_keymap* keymap() = 0;
    // The group of `keymap` in which the key `keycode`, pressed with X11
    // core event state `state`, typed `keysym` (QKeyEvent's native scan
    // code, modifiers and virtual key).
    virtual std::uint32_t group(
        xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym) = 0;
};

// The X server's keymap of the core keyboard, read again after it changes
// (setxkbmap, a new keyboard); null where the server has no XKB.
std::unique_ptr<KeymapSource> x11Keymap(xkb_context* context);

// The compositor's keymap, as it sends it to a keyboard of a Wayland
// connection of the program's own; null where none can be made.
std::unique_ptr<KeymapSource> waylandKeymap(xkb_context* context);

} // namespace ui
