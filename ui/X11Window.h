#pragma once

#include <QRegion>

class QWidget;

// The two X11 requests the window needs that Qt makes only in logical pixels
// or with a pointer position of its own. Each returns false, doing nothing,
// where the application does not run on X11.
namespace ui::x11 {

// Sets the bounding shape of the window's native window to `deviceRegion`,
// in device pixels. The X server then neither draws nor delivers the mouse
// outside it.
bool setShape(QWidget* window, const QRegion& deviceRegion);

// Hands the window to the window manager's move (_NET_WM_MOVERESIZE), from
// where the pointer is now. False where no window manager supports it.
bool startWindowManagerMove(QWidget* window);

} // namespace ui::x11
