#include "calc/Operators.h"

#include <array>

namespace calc {
namespace {

constexpr std::array kOperators{
    OperatorRow{Key::Add, "Add", "\xA3\xAB", // ＋
        [](Extended a, Extended b) { return a + b; }},
    OperatorRow{Key::Sub, "Sub", "\xA3\xAD", // －
        [](Extended a, Extended b) { return a - b; }},
    OperatorRow{Key::Multi, "Multi", "\xA1\xC1", // ×
        [](Extended a, Extended b) { return a * b; }},
    OperatorRow{Key::Div, "Div", "\xA1\xC2", // ÷
        [](Extended a, Extended b) { return a / b; }},
};

} // namespace

std::span<const OperatorRow> operatorRows() { return kOperators; }

const OperatorRow* operatorForKey(Key key)
{
    for (const OperatorRow& row : kOperators) {
        if (row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

const OperatorRow* operatorNamed(std::string_view name)
{
    for (const OperatorRow& row : kOperators) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

} // namespace calc
