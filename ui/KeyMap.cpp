#include "ui/KeyMap.h"

#include <algorithm>

namespace ui {

namespace {

// Qt keys whose virtual-key code is not a plain range. `shifted` marks the
// characters a US keyboard types with Shift, so their Shift state is held
// even when a test sends them without the modifier.
struct KeyCap {
    int qtKey;
    std::uint16_t code;
    bool shifted;
};

constexpr auto kMainKeys = std::to_array<KeyCap>({
    {Qt::Key_Backspace, 8, false},
    {Qt::Key_Tab, 9, false},
    {Qt::Key_Backtab, 9, true},
    {Qt::Key_Return, 13, false},
    {Qt::Key_Enter, 13, false},
    {Qt::Key_Escape, 27, false},
    {Qt::Key_Space, 32, false},
    {Qt::Key_Left, 37, false},
    {Qt::Key_Up, 38, false},
    {Qt::Key_Right, 39, false},
    {Qt::Key_Down, 40, false},
    {Qt::Key_Delete, 46, false},
    {Qt::Key_ParenRight, '0', true},
    {Qt::Key_Exclam, '1', true},
    {Qt::Key_At, '2', true},
    {Qt::Key_NumberSign, '3', true},
    {Qt::Key_Dollar, '4', true},
    {Qt::Key_Percent, '5', true},
    {Qt::Key_AsciiCircum, '6', true},
    {Qt::Key_Ampersand, '7', true},
    {Qt::Key_Asterisk, '8', true},
    {Qt::Key_ParenLeft, '9', true},
    {Qt::Key_Semicolon, 186, false},
    {Qt::Key_Colon, 186, true},
    {Qt::Key_Equal, 187, false},
    {Qt::Key_Plus, 187, true},
    {Qt::Key_Comma, 188, false},
    {Qt::Key_Less, 188, true},
    {Qt::Key_Minus, 189, false},
    {Qt::Key_Underscore, 189, true},
    {Qt::Key_Period, 190, false},
    {Qt::Key_Greater, 190, true},
    {Qt::Key_Slash, 191, false},
    {Qt::Key_Question, 191, true},
    {Qt::Key_QuoteLeft, 192, false},
    {Qt::Key_AsciiTilde, 192, true},
    {Qt::Key_BracketLeft, 219, false},
    {Qt::Key_BraceLeft, 219, true},
    {Qt::Key_Backslash, 220, false},
    {Qt::Key_Bar, 220, true},
    {Qt::Key_BracketRight, 221, false},
    {Qt::Key_BraceRight, 221, true},
    {Qt::Key_Apostrophe, 222, false},
    {Qt::Key_QuoteDbl, 222, true},
});

// With Qt's keypad modifier these are the numeric keypad's own keys.
constexpr auto kKeypadKeys = std::to_array<KeyCap>({
    {Qt::Key_Asterisk, 106, false},
    {Qt::Key_Plus, 107, false},
    {Qt::Key_Minus, 109, false},
    {Qt::Key_Period, 110, false},
    {Qt::Key_Comma, 110, false},
    {Qt::Key_Slash, 111, false},
    {Qt::Key_Enter, 13, false},
    {Qt::Key_Return, 13, false},
});

std::optional<KeyCap> find(const auto& table, int qtKey)
{
    const auto it = std::find_if(table.begin(), table.end(), [qtKey](const KeyCap& cap) { return cap.qtKey == qtKey; });
    if (it == table.end()) {
        return std::nullopt;
    }
    return *it;
}

std::optional<KeyCap> keyCap(int qtKey, bool keypad)
{
    if (keypad && qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return KeyCap{qtKey, static_cast<std::uint16_t>(96 + qtKey - Qt::Key_0), false};
    }
    if (keypad) {
        if (auto cap = find(kKeypadKeys, qtKey)) {
            return cap;
        }
    }
    if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return KeyCap{qtKey, static_cast<std::uint16_t>(qtKey), false};
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return KeyCap{qtKey, static_cast<std::uint16_t>(112 + qtKey - Qt::Key_F1), false};
    }
    return find(kMainKeys, qtKey);
}

bool holds(When when, ShiftState shift)
{
    switch (when) {
    case When::Always: return true;
    case When::ShiftUp: return !shift.shift;
    case When::ShiftDown: return shift.shift;
    case When::AltDown: return shift.alt;
    }
    return false;
}

std::optional<std::string_view> choose(std::uint16_t code, ShiftState shift, bool altStage)
{
    for (const KeyBinding& row : kKeyMap) {
        if (row.code == code && (row.when == When::AltDown) == altStage && holds(row.when, shift)) {
            return row.control;
        }
    }
    return std::nullopt;
}

} // namespace

ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers)
{
    return {modifiers.testFlag(Qt::ShiftModifier), modifiers.testFlag(Qt::AltModifier),
        modifiers.testFlag(Qt::ControlModifier)};
}

std::optional<VirtualKey> toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const auto cap = keyCap(qtKey, modifiers.testFlag(Qt::KeypadModifier));
    if (!cap) {
        return std::nullopt;
    }
    ShiftState shift = shiftStateOf(modifiers);
    shift.shift = shift.shift || cap->shifted;
    return VirtualKey{cap->code, shift};
}

std::optional<std::string_view> keyStageOne(std::uint16_t code, ShiftState shift) { return choose(code, shift, false); }

std::optional<std::string_view> keyStageTwo(std::uint16_t code, ShiftState shift)
{
    return shift.alt ? choose(code, shift, true) : std::nullopt;
}

} // namespace ui
