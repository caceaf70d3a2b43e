#include "ui/UntCalc.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ui::FrmCalc window;
    window.show();
    return app.exec();
}
