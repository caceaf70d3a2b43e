#include "app/CommandLine.h"
#include "app/FontConfigurationPreload.h"
#include "app/ScaleFactor.h"
#include "ui/Fonts.h"
#include "ui/UntCalc.h"

#include <QApplication>
#include <QScreen>

#include <chrono>
#include <iostream>

int main(int argc, char* argv[])
{
    const app::CommandLine commandLine = app::readCommandLine(argc, argv);
    const auto environment = app::DisplayEnvironment::current();
    if (const auto status = app::answerWithoutWindow(commandLine, environment, std::cout, std::cerr)) {
        return *status;
    }

    auto fontConfiguration = app::preloadFontConfiguration();
    app::boundScaleFactor();
    const auto application = app::openApplication(argc, argv, app::displayFailure(commandLine, environment));
    // Whatever is left of the load takes less than Qt loading it all again,
    // and while this thread waits its core is idle, so the loading thread
    // runs. The limit keeps a machine too busy to give it any time from
    // holding up the window.
    if (fontConfiguration.valid()) {
        fontConfiguration.wait_for(std::chrono::milliseconds(15));
    }

    // Qt lays out the empty document of every text box in the program's font
    // as the box is made. Left at the desktop's default, that would load a
    // face the window never shows.
    QApplication::setFont(ui::fonts::songFont(12, false, QGuiApplication::primaryScreen()->devicePixelRatio()));
    ui::FrmCalc window;
    window.show();
    return QApplication::exec();
}
