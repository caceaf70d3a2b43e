#include "app/Answer.h"
#include "app/CommandLine.h"
#include "app/ProcessEnd.h"
#include "app/ScaleFactor.h"
#include "app/WindowGeometry.h"
#include "app/WindowRun.h"
#include "ui/look/Fonts.h"
#include "ui/window/UntCalc.h"

#include <QApplication>
#include <QScreen>

#include <iostream>

int main(int argc, char* argv[])
{
    const app::CommandLine commandLine = app::readCommandLine(argc, argv);
    const auto environment = app::DisplayEnvironment::current();
    if (const auto status =
            app::answerWithoutWindow(commandLine, environment, app::TextOutput::current(), std::cout, std::cerr)) {
        return *status;
    }

    app::Answer answer;
    app::boundScaleFactor();
    const auto application =
        app::openApplication(argc, argv, app::displayFailure(commandLine.platform, commandLine.display, environment));
    // Qt lays out the empty document of every text box in the program's font
    // as the box is made. Left at the desktop's default, that would load a
    // face the window never shows.
    QApplication::setFont(ui::fonts::songFont(12, false, application->devicePixelRatio()));
    // Qt lays text out in the application's direction, whatever a widget's
    // own: -reverse or a right-to-left locale would turn the keys' captions
    // and the tape's columns of a layout that is fixed place by place.
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    ui::FrmCalc window;
    // Qt applies -qwindowgeometry to main windows only; this one is a dialog.
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && commandLine.windowGeometry) {
        if (const auto place =
                app::requestedPlace(*commandLine.windowGeometry, window.size(), screen->availableGeometry())) {
            window.move(*place);
        }
    }
    const int status = app::runWindow(window, commandLine, answer, std::cerr);
    app::endWhereTeardownMayHang(status);
    return status;
}
