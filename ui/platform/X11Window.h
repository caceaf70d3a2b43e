#pragma once

#include <QRegion>
#include <qwindowdefs.h>

class QWidget;
struct xcb_connection_t;

// The X11 requests the window needs that Qt makes only in logical pixels,
// with a pointer position of its own, or not at all. Each does nothing where
// the application does not run on X11.
namespace ui::x11 {

// The application's connection to the X server; null elsewhere.
xcb_connection_t* connection();

// Sets the bounding shape of the window's native window to `deviceRegion`,
// in device pixels. The X server then neither draws nor delivers the mouse
// outside it.
bool setShape(QWidget* window, const QRegion& deviceRegion);

// Hands the window to the window manager's move (_NET_WM_MOVERESIZE), from
// where the pointer is now. False where no window manager supports it.
bool startWindowManagerMove(QWidget* window);

enum class Attached { Yes, NoSuchWindow, NotX11 };

// Makes `window` a dialog of the window `parent` of another program, before
// it is shown: the window manager keeps it above that window
// (WM_TRANSIENT_FOR), and it opens centred on it, inside the screen.
Attached attachTo(QWidget* window, WId parent);

} // namespace ui::x11
