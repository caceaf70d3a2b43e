// The window's cost per key as the tape grows: a click on the equals key,
// then the events it leaves (the tape view's repaint), offscreen.
#include "key_cost.h"

#include "ui/window/UntCalc.h"

#include <QAbstractButton>
#include <QApplication>

#include <memory>

namespace {

void click(ui::FrmCalc& window, const char* key)
{
    window.findChild<QAbstractButton*>(key)->click();
    QCoreApplication::processEvents();
}

std::unique_ptr<ui::FrmCalc> startedWindow()
{
    auto window = std::make_unique<ui::FrmCalc>();
    window->show();
    for (const char* key : {"SBtn1", "SBtnAdd", "SBtn1", "SBtnEqual"}) {
        click(*window, key);
    }
    return window;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    bench::printKeyCostTable(
        "window", startedWindow, [](ui::FrmCalc& window) { click(window, "SBtnEqual"); },
        [](const ui::FrmCalc& window) { return window.core().tape().count(); });
    return 0;
}
