#include "ui/WindowDrag.h"

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
        if (handle && handle->startSystemMove()) {
            state_ = State::Idle;
            return true;
        }
        state_ = State::Following;
    }
    window_->move(windowAt_ + (global - pressedAt_));
    return true;
}

} // namespace ui
