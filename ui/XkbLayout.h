#pragma once

#include "ui/LayoutKey.h"

#include <QAbstractNativeEventFilter>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct xkb_context;
struct xkb_keymap;

namespace ui {

// The keyboard layout the X server has now, read with xkbcommon: what a key
// press's key types at its two Shift levels in the layout group it was
// pressed in. Read again after the server's keyboard changes (setxkbmap, a
// new keyboard). Knows nothing off X11: there every key is described by
// nothing, and the window maps the character Qt reports as on a US keyboard.
class XkbLayout : public QAbstractNativeEventFilter {
public:
    XkbLayout();
    ~XkbLayout() override;
    XkbLayout(const XkbLayout&) = delete;
    XkbLayout& operator=(const XkbLayout&) = delete;

    // The key of X keycode `keycode` pressed with core event state `state`
    // (QKeyEvent's native scan code and modifiers). Nothing for keys that
    // type no character (Return, F9, ...), the numeric keypad's keys and
    // keys the layout does not know: the window maps those by Qt's key.
    std::optional<LayoutKey> describe(std::uint32_t keycode, std::uint32_t state);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct ContextFree {
        void operator()(xkb_context* context) const;
    };
    struct KeymapFree {
        void operator()(xkb_keymap* keymap) const;
    };

    xkb_keymap* keymap();
    bool hasLatinLetters(std::uint32_t group);

    std::unique_ptr<xkb_context, ContextFree> context_;
    std::unique_ptr<xkb_keymap, KeymapFree> keymap_;
    std::int32_t device_ = -1;
    std::uint8_t xkbEvent_ = 0;
    // Per layout group of keymap_: does any key type a Latin letter?
    std::vector<std::optional<bool>> latinGroups_;
};

} // namespace ui
