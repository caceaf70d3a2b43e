#pragma once

// The one place that asks which display server the window runs on. The rest
// of the window asks the questions whose answers differ between servers.
namespace ui::platform {

// Other: offscreen, vnc, eglfs, ...
enum class DisplayServer { X11, Wayland, Other };

DisplayServer displayServer();

// Does the server cut a window to a shape? X11 does, in device pixels, and
// then neither draws nor delivers the mouse outside it. Elsewhere, as on
// Wayland, the window is translucent, its background picture clear outside
// the shape, and the shape is the region where it takes input.
bool serverCutsWindows();

// Who moves a dragged window? On Wayland only the compositor places windows.
// Elsewhere the application places its own window, and on X11 may hand the
// move to the window manager.
bool compositorMovesWindows();

// Can the toolkit's teardown of the display connection hang? On Wayland,
// Qt's plugin (6.4, 6.8 and 6.11 alike) reads the connection with two
// threads; one may stop with a read still prepared for it, and the other
// then waits for that read for ever inside QApplication's destructor, after
// the window has closed (docs/wayland-teardown.md). The test
// ui_wayland_teardown_hang fails once Qt's teardown no longer hangs.
bool teardownMayHang();

} // namespace ui::platform
