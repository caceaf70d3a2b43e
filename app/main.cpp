#include "app/FontConfigurationPreload.h"
#include "ui/UntCalc.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    app::preloadFontConfiguration();
    QApplication application(argc, argv);
    ui::FrmCalc window;
    window.show();
    return QApplication::exec();
}
