#pragma once

#include "ui/keyboard/LayoutKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <memory>
#include <optional>

struct wl_display;
struct wl_keyboard;
struct wl_keyboard_listener;
struct wl_seat;
struct xkb_context;
struct xkb_keymap;

namespace ui {

// The keyboard layout in use, read with xkbcommon: what a key press's key
// types at its two Shift levels in the layout group it was pressed in.
// On X11 the server's keymap, read again after it changes (setxkbmap, a new
// keyboard). On Wayland the compositor's keymap, sent to a keyboard of this
// window's own. Elsewhere every key is described by nothing, and the window maps
// the character Qt reports as on a US keyboard.
class XkbLayout : public QAbstractNativeEventFilter {
public:
    XkbLayout();
    ~XkbLayout() override;
    XkbLayout(const XkbLayout&) = delete;
    XkbLayout& operator=(const XkbLayout&) = delete;

    // The key of XKB keycode `keycode` pressed with X11 core event state
    // `state`, typing `keysym` (QKeyEvent's native scan code, modifiers and
    // virtual key); on Wayland the state is not looked at. Nothing for keys
    // that type no character (Return, F9, ...), the numeric keypad's keys
    // and keys the layout does not know: the window maps those by Qt's key.
    std::optional<LayoutKey> describe(std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct ContextFree {
        void operator()(xkb_context* context) const;
    };
    struct KeymapFree {
        void operator()(xkb_keymap* keymap) const;
    };

    struct DisplayDisconnect {
        void operator()(wl_display* display) const;
    };
    struct SeatRelease {
        void operator()(wl_seat* seat) const;
    };
    struct KeyboardRelease {
        void operator()(wl_keyboard* keyboard) const;
    };

    void watchX11();
    void watchWayland();
    void readOwnDisplay();
    void forgetKeymap();
    xkb_keymap* keymap();

    // What the compositor sends a Wayland keyboard: the keymap, and the group
    // while the window has the focus.
    static const wl_keyboard_listener* keyboardListener();
    static void keymapSent(void* layout, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size);
    static void modifiersSent(void* layout, wl_keyboard*, std::uint32_t serial, std::uint32_t depressed,
        std::uint32_t latched, std::uint32_t locked, std::uint32_t group);

    std::unique_ptr<xkb_context, ContextFree> context_;
    std::unique_ptr<xkb_keymap, KeymapFree> keymap_;
    // X11: the core keyboard, and the code of the XKB extension's events.
    std::int32_t device_ = -1;
    std::uint8_t xkbEvent_ = 0;
    // Wayland: a connection and a seat of the window's own where Qt names
    // none of its own (before 6.5), the keyboard, and the layout group the
    // compositor says is on. Declared so that they go in the reverse order.
    std::unique_ptr<wl_display, DisplayDisconnect> ownDisplay_;
    std::unique_ptr<wl_seat, SeatRelease> ownSeat_;
    std::unique_ptr<wl_keyboard, KeyboardRelease> waylandKeyboard_;
    std::optional<std::uint32_t> waylandGroup_;
};

} // namespace ui
