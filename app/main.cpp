#include "app/Answer.h"
#include "app/CommandLine.h"
#include "app/FontConfiguration.h"
#include "app/ProcessEnd.h"
#include "app/ScaleFactor.h"
#include "app/WindowRun.h"
#include "ui/window/UntCalc.h"

#include <QApplication>

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
    app::useOwnFontConfiguration();
    const auto application =
        app::openApplication(argc, argv, app::displayFailure(commandLine.platform, commandLine.display, environment));
    ui::FrmCalc window;
    const int status = app::runWindow(window, commandLine, answer, std::cerr);
    app::endWhereTeardownMayHang(status);
    return status;
}
