#include "ui/Picker.h"

#include "ui/window/UntCalc.h"

namespace ui {

std::optional<long double> pickValue(long double start, QWidget* parent)
{
    const calc::Extended value = calc::fromLongDouble(start);
    if (!value.isFinite()) {
        return std::nullopt;
    }
    FrmCalc window(parent);
    window.setValue(value);
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return calc::toLongDouble(window.Value());
}

} // namespace ui
