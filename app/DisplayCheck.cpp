#include "app/DisplayCheck.h"

#include "app/Environment.h"
#include "app/ExitStatus.h"
#include "app/Version.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace app {

namespace {

std::string noDisplay() { return std::string(kProgramName) + ": no display could be opened: "; }

std::string described(std::string_view name, const std::string& value)
{
    if (value.empty()) {
        return std::string(name) + " is not set";
    }
    return std::string(name) + " is \"" + value + '"';
}

// A message handler is a plain function, so what it needs while
// QApplication is being made lives here, for that time only.
struct StartState {
    QtMessageHandler previous = nullptr;
    std::string failure;
    struct Held {
        QtMsgType type;
        QString text;
        QByteArray category;
    };
    std::vector<Held> held;
    std::mutex heldLock; // a message may come from another thread
};
StartState* starting = nullptr;

void duringStart(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) {
        // Qt found no platform it could start: its next step is abort().
        std::fputs((starting->failure + '\n').c_str(), stderr);
        std::fflush(stderr);
        std::_Exit(kExitNoDisplay);
    }
    const std::lock_guard lock(starting->heldLock);
    starting->held.push_back({type, text, QByteArray(context.category)});
}

} // namespace

DisplayEnvironment DisplayEnvironment::current()
{
    return {environmentValue("DISPLAY"), environmentValue("WAYLAND_DISPLAY"), environmentValue("QT_QPA_PLATFORM"),
        environmentValue("XDG_SESSION_TYPE")};
}

std::optional<std::string> missingDisplay(const std::optional<std::string>& platform,
    const std::optional<std::string>& display, const DisplayEnvironment& environment)
{
    // A platform chosen by name (offscreen, vnc, eglfs, ...) may need no
    // display at all; in a Wayland session Qt may find the compositor's
    // socket unnamed. Both are left to Qt, and to openApplication's guard.
    const bool platformChosen = platform.has_value() || !environment.platform.empty();
    const bool displayNamed = (display.has_value() && !display->empty()) || !environment.display.empty() ||
        !environment.waylandDisplay.empty();
    if (platformChosen || displayNamed || environment.sessionType == "wayland") {
        return std::nullopt;
    }
    return noDisplay() + "neither DISPLAY nor WAYLAND_DISPLAY is set";
}

std::string displayFailure(const std::optional<std::string>& platform, const std::optional<std::string>& display,
    const DisplayEnvironment& environment)
{
    std::string tried;
    if (platform) {
        tried = described("-platform", *platform) + ", ";
    } else if (!environment.platform.empty()) {
        tried = described("QT_QPA_PLATFORM", environment.platform) + ", ";
    }
    if (display) {
        tried += described("-display", *display) + ", ";
    }
    tried +=
        described("DISPLAY", environment.display) + ", " + described("WAYLAND_DISPLAY", environment.waylandDisplay);
    return noDisplay() + tried;
}

std::unique_ptr<QApplication> openApplication(int& argc, char** argv, std::string failure)
{
    StartState state;
    state.failure = std::move(failure);
    starting = &state;
    state.previous = qInstallMessageHandler(duringStart);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(state.previous);
    starting = nullptr;
    for (const auto& message : state.held) {
        const QMessageLogContext context(
            nullptr, 0, nullptr, message.category.isEmpty() ? nullptr : message.category.constData());
        qt_message_output(message.type, context, message.text);
    }
    return application;
}

} // namespace app
