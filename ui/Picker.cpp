#include "ui/Picker.h"

#include "ui/UntCalc.h"

#include <cmath>

namespace ui {

std::optional<long double> pickValue(long double start, QWidget* parent)
{
    if (!std::isfinite(start)) {
        return std::nullopt;
    }
    FrmCalc window(parent);
    window.setValue(start);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return window.Value();
}

} // namespace ui
