#pragma once

#include <QPoint>
#include <QtCore/qnamespace.h>

class QWidget;

namespace ui {

// Moves a frameless window with the left mouse button until the release.
// The move starts once the pointer has left the drag distance: a platform
// move started by the press itself swallows the second click of a double
// click. Where the application places its own windows (X11), the window first
// catches up with the pointer, then the window manager moves it
// (QWindow::startSystemMove), so the point grabbed stays under the pointer;
// where no window manager takes the move, as under a bare X server, the window
// follows the mouse itself. Where only the compositor places windows
// (Wayland), its move starts there, the grabbed point one drag distance
// behind. The press still reaches the control under the mouse, so a tape line
// gets selected.
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
