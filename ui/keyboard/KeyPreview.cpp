#include "ui/keyboard/KeyPreview.h"

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
    switch (event->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyRelease: climbing_ = nullptr; break;
    case QEvent::KeyPress: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != window_) {
            break;
        }
        const bool handedUp = event == climbing_ && widget == next_;
        climbing_ = event;
        next_ = widget->parentWidget();
        if (handedUp) {
            break;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const auto described = layout_.describe(key->nativeScanCode(), key->nativeModifiers(), key->nativeVirtualKey());
        const auto pressed = described ? layoutVirtualKey(*described, shiftStateOf(key->modifiers()))
                                       : toVirtualKey(key->key(), key->modifiers());
        if (pressed) {
            std::uint16_t code = pressed->code;
            handler_(code, pressed->shift);
        }
        break;
    }
    default: break;
    }
    return false;
}

} // namespace ui
