#include "ui/platform/WindowDrag.h"

#include "ui/platform/Platform.h"
#include "ui/platform/X11Window.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace ui {

void WindowDrag::press(Qt::MouseButton button, QPoint global)
{
    if (button != Qt::LeftButton) {
        return;
    }
    state_ = State::Armed;
    pressedAt_ = global;
    windowAt_ = window_->pos();
}

// The moves are the drag's alone: in the tape they would select other lines.
bool WindowDrag::move(Qt::MouseButtons buttons, QPoint global)
{
    if (state_ == State::Idle) {
        return false;
    }
    if (!buttons.testFlag(Qt::LeftButton)) {
        state_ = State::Idle;
        return false;
    }
    if (state_ == State::Armed) {
        if ((global - pressedAt_).manhattanLength() < QApplication::startDragDistance()) {
            return true;
        }
        QWindow* handle = window_->windowHandle();
        // The compositor takes the move from the press's serial while the
        // button is held; the window cannot place itself to catch up.
        if (platform::compositorMovesWindows()) {
            state_ = handle && handle->startSystemMove() ? State::Idle : State::Following;
            return true;
        }
        // The window manager's move keeps the window where the pointer finds
        // it: it must not lag by the drag distance.
        // Qt's own request would report the pointer at the window's new place
        // plus its old offset: the window would lag by the catch-up.
        window_->move(windowAt_ + (global - pressedAt_));
        const bool moved = x11::startWindowManagerMove(window_) || (handle && handle->startSystemMove());
        state_ = moved ? State::Idle : State::Following;
        return true;
    }
    window_->move(windowAt_ + (global - pressedAt_));
    return true;
}

} // namespace ui
