#include "app/FontConfigurationPreload.h"
#include "app/ScaleFactor.h"
#include "ui/UntCalc.h"

#include <QApplication>

#include <chrono>

int main(int argc, char* argv[])
{
    auto fontConfiguration = app::preloadFontConfiguration();
    app::boundScaleFactor();
    QApplication application(argc, argv);
    // Whatever is left of the load takes less than Qt loading it all again,
    // and while this thread waits its core is idle, so the loading thread
    // runs. The limit keeps a machine too busy to give it any time from
    // holding up the window.
    if (fontConfiguration.valid()) {
        fontConfiguration.wait_for(std::chrono::milliseconds(15));
    }

    ui::FrmCalc window;
    window.show();
    return QApplication::exec();
}
