#include "ui/keyboard/KeyMap.h"

#include <algorithm>

namespace ui {

namespace {

// Qt keys whose virtual-key code is not a plain range. `shifted` marks the
// characters a US keyboard types with Shift, so their Shift state is held
// even when a test sends them without the modifier. `meaning` marks the
// characters that mean a key of the calculator on any layout: whatever key
// types them acts as this US key.
struct KeyCap {
    int qtKey;
    std::uint16_t code;
    bool shifted;
    bool meaning = false;
};

constexpr auto kMainKeys = std::to_array<KeyCap>({
    {Qt::Key_Backspace, vk::VK_BACK, false},
    {Qt::Key_Tab, vk::VK_TAB, false},
    {Qt::Key_Backtab, vk::VK_TAB, true},
    {Qt::Key_Return, vk::VK_RETURN, false},
    {Qt::Key_Enter, vk::VK_RETURN, false},
    {Qt::Key_Escape, vk::VK_ESCAPE, false},
    {Qt::Key_Space, vk::VK_SPACE, false},
    {Qt::Key_Left, vk::VK_LEFT, false},
    {Qt::Key_Up, vk::VK_UP, false},
    {Qt::Key_Right, vk::VK_RIGHT, false},
    {Qt::Key_Down, vk::VK_DOWN, false},
    {Qt::Key_Delete, vk::VK_DELETE, false},
    {Qt::Key_ParenRight, '0', true},
    {Qt::Key_Exclam, '1', true},
    {Qt::Key_At, '2', true},
    {Qt::Key_NumberSign, '3', true},
    {Qt::Key_Dollar, '4', true},
    {Qt::Key_Percent, '5', true},
    {Qt::Key_AsciiCircum, '6', true},
    {Qt::Key_Ampersand, '7', true},
    {Qt::Key_Asterisk, '8', true, true}, // means: multiply
    {Qt::Key_ParenLeft, '9', true},
    {Qt::Key_Semicolon, vk::VK_OEM_1, false},
    {Qt::Key_Colon, vk::VK_OEM_1, true},
    {Qt::Key_Equal, vk::VK_OEM_PLUS, false, true}, // means: equals
    {Qt::Key_Plus, vk::VK_OEM_PLUS, true, true}, // means: add
    {Qt::Key_Comma, vk::VK_OEM_COMMA, false},
    {Qt::Key_Less, vk::VK_OEM_COMMA, true},
    {Qt::Key_Minus, vk::VK_OEM_MINUS, false, true}, // means: change sign
    {Qt::Key_Underscore, vk::VK_OEM_MINUS, true},
    {Qt::Key_Period, vk::VK_OEM_PERIOD, false, true}, // means: decimal point
    {Qt::Key_Greater, vk::VK_OEM_PERIOD, true},
    {Qt::Key_Slash, vk::VK_OEM_2, false, true}, // means: divide
    {Qt::Key_Question, vk::VK_OEM_2, true},
    {Qt::Key_QuoteLeft, vk::VK_OEM_3, false},
    {Qt::Key_AsciiTilde, vk::VK_OEM_3, true},
    {Qt::Key_BracketLeft, vk::VK_OEM_4, false},
    {Qt::Key_BraceLeft, vk::VK_OEM_4, true},
    {Qt::Key_Backslash, vk::VK_OEM_5, false},
    {Qt::Key_Bar, vk::VK_OEM_5, true},
    {Qt::Key_BracketRight, vk::VK_OEM_6, false},
    {Qt::Key_BraceRight, vk::VK_OEM_6, true},
    {Qt::Key_Apostrophe, vk::VK_OEM_7, false},
    {Qt::Key_QuoteDbl, vk::VK_OEM_7, true},
});

// With Qt's keypad modifier these are the numeric keypad's own keys.
constexpr auto kKeypadKeys = std::to_array<KeyCap>({
    {Qt::Key_Asterisk, vk::VK_MULTIPLY, false},
    {Qt::Key_Plus, vk::VK_ADD, false},
    {Qt::Key_Minus, vk::VK_SUBTRACT, false},
    {Qt::Key_Period, vk::VK_DECIMAL, false},
    {Qt::Key_Comma, vk::VK_DECIMAL, false},
    {Qt::Key_Slash, vk::VK_DIVIDE, false},
    {Qt::Key_Enter, vk::VK_RETURN, false},
    {Qt::Key_Return, vk::VK_RETURN, false},
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
        return KeyCap{qtKey, static_cast<std::uint16_t>(vk::VK_NUMPAD0 + qtKey - Qt::Key_0), false};
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
        return KeyCap{qtKey, static_cast<std::uint16_t>(vk::VK_F1 + qtKey - Qt::Key_F1), false};
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

std::optional<std::size_t> choose(std::uint16_t code, ShiftState shift, bool altStage)
{
    for (std::size_t i = 0; i < kKeyMap.size(); ++i) {
        const KeyBinding& row = kKeyMap[i];
        if (row.code == code && (row.when == When::AltDown) == altStage && holds(row.when, shift)) {
            return i;
        }
    }
    return std::nullopt;
}

// The US key whose character `character` is, where it means a key of the
// calculator; Alt and Ctrl as pressed. The Qt keys of these characters are
// their ASCII codes.
std::optional<VirtualKey> byMeaning(char32_t character, ShiftState shift)
{
    const auto* cap = std::find_if(kMainKeys.begin(), kMainKeys.end(),
        [character](const KeyCap& row) { return row.meaning && static_cast<char32_t>(row.qtKey) == character; });
    if (cap == kMainKeys.end()) {
        return std::nullopt;
    }
    shift.shift = cap->shifted;
    return VirtualKey{cap->code, shift};
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

std::optional<VirtualKey> layoutVirtualKey(const LayoutKey& key, ShiftState shift)
{
    const char32_t typed = shift.shift ? key.shifted : key.unshifted;
    const char32_t other = shift.shift ? key.unshifted : key.shifted;
    if (auto meant = byMeaning(typed, shift)) {
        return meant;
    }
    if (key.digit) {
        // Without Shift: on the US map Shift+8 multiplies, and a French 8 is Shift+8.
        return VirtualKey{static_cast<std::uint16_t>('0' + *key.digit), {false, shift.alt, shift.ctrl}};
    }
    if (key.letter != 0) {
        return VirtualKey{static_cast<std::uint16_t>(key.letter), shift};
    }
    return byMeaning(other, shift);
}

std::optional<std::size_t> keyStageOne(std::uint16_t code, ShiftState shift) { return choose(code, shift, false); }

std::optional<std::size_t> keyStageTwo(std::uint16_t code, ShiftState shift)
{
    return shift.alt ? choose(code, shift, true) : std::nullopt;
}

} // namespace ui
