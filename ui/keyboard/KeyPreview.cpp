#include "ui/keyboard/KeyPreview.h"

#include "ui/keyboard/XkbLayout.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ui {

KeyPreview::KeyPreview(QWidget* window, Handler handler) : window_(window), handler_(std::move(handler))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    // Qt delivers a key first to the window's focus widget, or to the
    // window itself when none has the focus; an ignored key then climbs to
    // the parents, which are not the first.
    QWidget* first = window_->focusWidget() != nullptr ? window_->focusWidget() : window_;
    if (watched != first) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto described =
        XkbLayout::ofApplication().describe(key->nativeScanCode(), key->nativeModifiers(), key->nativeVirtualKey());
    const auto pressed = described ? layoutVirtualKey(*described, shiftStateOf(key->modifiers()))
                                   : toVirtualKey(key->key(), key->modifiers());
    if (pressed) {
        std::uint16_t code = pressed->code;
        handler_(code, pressed->shift);
    }
    return false;
}

} // namespace ui
