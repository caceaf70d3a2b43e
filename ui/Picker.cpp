#include "ui/Picker.h"

#include "ui/window/UntCalc.h"

namespace ui {

std::optional<long double> pickValue(long double start, QWidget* parent, std::optional<long double> rate)
{
    const calc::Extended value = calc::fromLongDouble(start);
    const calc::Extended startRate = calc::fromLongDouble(rate.value_or(17));
    if (!value.isFinite() || (rate && !calc::Calculator::acceptsRate(startRate))) {
        return std::nullopt;
    }
    FrmCalc window(parent);
    window.setValue(value);
    if (rate) {
        window.setStartRate(startRate);
    }
    if (window.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return calc::toLongDouble(window.Value());
}

} // namespace ui
