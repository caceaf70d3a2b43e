#pragma once

#include "calc/CFree.h"
#include "ui/keyboard/KeymapKeys.h"

#include <QObject>

#include <cstdint>
#include <memory>
#include <optional>

struct xkb_context;

namespace ui {

class KeymapSource;

// The keyboard layout in use, read with xkbcommon: what a key press's key
// types at its two Shift levels in the layout group it was pressed in. On
// X11 and on Wayland from the display server's keymap (KeymapSource);
// elsewhere every key is described by nothing, and the window maps the
// character Qt reports as on a US keyboard.
//
// One serves the whole program, however many windows it opens: made at the
// first key, it lives as long as the QApplication.
class XkbLayout : public QObject {
    Q_OBJECT

public:
    static XkbLayout& ofApplication();
    ~XkbLayout() override;

    // The key of XKB keycode `keycode` pressed with X11 core event state
    // `state`, typing `keysym` (QKeyEvent's native scan code, modifiers and
    // virtual key). Nothing for keys that type no character (Return, F9,
    // ...), the numeric keypad's keys and keys the layout does not know:
    // the window maps those by Qt's key.
    std::optional<LayoutKey> describe(std::uint32_t keycode, std::uint32_t state, std::uint32_t keysym);

private:
    explicit XkbLayout(QObject* application);

    static void unref(xkb_context* context);
    // In this order, so that the source's keymap goes before its context.
    calc::CHandle<xkb_context, &XkbLayout::unref> context_;
    std::unique_ptr<KeymapSource> source_;
};

} // namespace ui
