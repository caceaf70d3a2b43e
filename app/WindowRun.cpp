#include "app/WindowRun.h"

#include "app/Answer.h"
#include "app/CommandLine.h"
#include "app/Version.h"
#include "app/WindowGeometry.h"
#include "calc/NumberText.h"
#include "ui/platform/X11Window.h"
#include "ui/window/GbkText.h"
#include "ui/window/UntCalc.h"

#include <QApplication>
#include <QScreen>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace app {

namespace {

void attach(ui::FrmCalc& window, std::uint32_t parent, std::ostream& err)
{
    switch (ui::x11::attachTo(&window, static_cast<WId>(parent))) {
    case ui::x11::Attached::Yes: return;
    case ui::x11::Attached::NoSuchWindow:
        err << kProgramName << ": --attach: there is no window " << std::showbase << std::hex << parent
            << std::noshowbase << std::dec << "; the window opens on its own\n";
        return;
    case ui::x11::Attached::NotX11:
        err << kProgramName << ": --attach: attaching to another program's window is not supported on "
            << QGuiApplication::platformName().toStdString() << "; the window opens on its own\n";
        return;
    }
}

int delivered(Answer& answer, const std::string& text, int status, std::ostream& err)
{
    if (answer.write(text)) {
        return status;
    }
    err << kProgramName << ": the answer could not be written to standard output: " << std::strerror(errno) << '\n';
    return kExitClosed;
}

} // namespace

int runWindow(ui::FrmCalc& window, const CommandLine& commandLine, Answer& answer, std::ostream& err)
{
    // Qt applies -qwindowgeometry to main windows only; this one is a dialog.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && commandLine.windowGeometry) {
        if (const auto place =
                requestedPlace(*commandLine.windowGeometry, window.size(), screen->availableGeometry())) {
            window.move(*place);
        }
    }
    if (commandLine.attachTo) {
        attach(window, *commandLine.attachTo, err);
    }
    if (commandLine.rate) {
        window.setStartRate(*commandLine.rate);
    }
    if (commandLine.request == Request::Pick) {
        window.setValue(commandLine.start);
        if (window.exec() != QDialog::Accepted) {
            return kExitClosed;
        }
        return delivered(answer, calc::GeneralText(window.Value()) + '\n', kExitSuccess, err);
    }
    window.show();
    const int status = QApplication::exec();
    if (commandLine.printTape) {
        return delivered(answer, tapeText(window.core().tape()), status, err);
    }
    return status;
}

std::string tapeText(const calc::Tape& tape)
{
    std::string text;
    for (std::size_t i = 0; i < tape.count(); ++i) {
        std::string_view line = tape.line(i);
        line = line.substr(0, line.find_last_not_of(' ') + 1);
        text += ui::fromGbk(line).toStdString();
        text += '\n';
    }
    return text;
}

} // namespace app
