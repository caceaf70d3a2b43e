#pragma once

#include <memory>
#include <optional>
#include <string>

class QApplication;

namespace app {

// The environment variables that choose a display, read once.
struct DisplayEnvironment {
    std::string display; // DISPLAY
    std::string waylandDisplay; // WAYLAND_DISPLAY
    std::string platform; // QT_QPA_PLATFORM
    std::string sessionType; // XDG_SESSION_TYPE
    static DisplayEnvironment current();
};

// Without a platform chosen, Qt looks for an X11 or a Wayland display;
// where neither is named it can only fail. Nothing when one may be found.
// `platform` and `display` are what the command line chose with -platform
// NAME and -display NAME, nothing where it did not.
std::optional<std::string> missingDisplay(const std::optional<std::string>& platform,
    const std::optional<std::string>& display, const DisplayEnvironment& environment);

// The line printed when no display could be opened after all (a wrong
// DISPLAY, a server that refuses the connection), naming what was tried.
std::string displayFailure(const std::optional<std::string>& platform, const std::optional<std::string>& display,
    const DisplayEnvironment& environment);

// QApplication(argc, argv), but where Qt cannot open a display it would
// print its plugin help and abort (a crash to every crash reporter); then the
// process writes `failure` to stderr and ends with kExitNoDisplay instead.
// Qt's own warnings on the way are held back and, when the application is
// made after all, passed on as they came.
std::unique_ptr<QApplication> openApplication(int& argc, char** argv, std::string failure);

} // namespace app
