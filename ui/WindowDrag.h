#pragma once

#include <QPoint>
#include <QtCore/qnamespace.h>

class QWidget;

namespace ui {

// Moves a frameless window with the left mouse button until the release.
// The move starts once the pointer has left the drag distance: a platform
// move started by the press itself may swallow the second click of a double
// click. The platform moves the window where it can
// (QWindow::startSystemMove); where it refuses, as under a bare X server, the
// window follows the mouse itself. The press still reaches the control under
// the mouse, so a tape line gets selected.
class WindowDrag {
public:
    explicit WindowDrag(QWidget* window) : window_(window) {}

    void press(Qt::MouseButton button, QPoint global);
    // True when the event belongs to the drag and the control must not see it.
    bool move(Qt::MouseButtons buttons, QPoint global);
    void release() { state_ = State::Idle; }

private:
    QWidget* window_;
    enum class State { Idle, Armed, Following };

    State state_ = State::Idle;
    QPoint pressedAt_;
    QPoint windowAt_;
};

} // namespace ui
