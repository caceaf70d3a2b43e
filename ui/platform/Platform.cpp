#include "ui/platform/Platform.h"

#include <QGuiApplication>

namespace ui::platform {

DisplayServer displayServer()
{
    const QString name = QGuiApplication::platformName();
    if (name == QLatin1String("xcb")) {
        return DisplayServer::X11;
    }
    // "wayland", "wayland-egl", "wayland-brcm", ...
    if (name.startsWith(QLatin1String("wayland"))) {
        return DisplayServer::Wayland;
    }
    return DisplayServer::Other;
}

bool serverCutsWindows() { return displayServer() == DisplayServer::X11; }

bool compositorMovesWindows() { return displayServer() == DisplayServer::Wayland; }

bool teardownMayHang() { return displayServer() == DisplayServer::Wayland; }

} // namespace ui::platform
