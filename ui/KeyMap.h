#pragma once

#include <QtCore/qnamespace.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ui {

// The modifier state the keyboard map reads. Only Shift and Alt are ever
// tested; Ctrl is carried so that Ctrl+5 still types 5.
struct ShiftState {
    bool shift = false;
    bool alt = false;
    bool ctrl = false;
};

// A key as a Windows keyboard names it: virtual-key code and shift state.
struct VirtualKey {
    std::uint16_t code = 0;
    ShiftState shift;
};

// Qt names the character, the map names the key cap of a US keyboard:
// (Key_Asterisk, Shift) -> (56, Shift); (Key_8, Keypad) -> (104);
// (Key_Plus, Keypad) -> (107); (Key_Enter, Keypad) -> (13).
// Keys the map can never use (Shift, Alt, Home, ...) give nothing.
std::optional<VirtualKey> toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers);

enum class When { Always, ShiftUp, ShiftDown, AltDown };

struct KeyBinding {
    std::uint16_t code;
    When when;
    std::string_view control;
};

// The whole keyboard map: key code and condition -> the control it clicks.
// The AltDown rows form the second stage, run after the first for Alt only;
// no code is in both stages, so a key press clicks at most one control.
inline constexpr auto kKeyMap = std::to_array<KeyBinding>({
    {8, When::Always, "SBtnBack"},
    {13, When::Always, "SBtnEqual"},
    {27, When::Always, "BitBtnCancel"},
    {120, When::Always, "BitBtnCancel"},
    {'0', When::Always, "SBtn0"},
    {'1', When::Always, "SBtn1"},
    {'2', When::Always, "SBtn2"},
    {'3', When::Always, "SBtn3"},
    {'4', When::Always, "SBtn4"},
    {'5', When::Always, "SBtn5"},
    {'6', When::Always, "SBtn6"},
    {'7', When::Always, "SBtn7"},
    {'8', When::ShiftUp, "SBtn8"},
    {'8', When::ShiftDown, "SBtnMulti"},
    {'9', When::Always, "SBtn9"},
    {96, When::Always, "SBtn0"},
    {97, When::Always, "SBtn1"},
    {98, When::Always, "SBtn2"},
    {99, When::Always, "SBtn3"},
    {100, When::Always, "SBtn4"},
    {101, When::Always, "SBtn5"},
    {102, When::Always, "SBtn6"},
    {103, When::Always, "SBtn7"},
    {104, When::Always, "SBtn8"},
    {105, When::Always, "SBtn9"},
    {106, When::Always, "SBtnMulti"},
    {107, When::Always, "SBtnAdd"},
    {109, When::Always, "SBtnSub"},
    {110, When::Always, "SBtnDot"},
    {190, When::Always, "SBtnDot"},
    {111, When::Always, "SBtnDiv"},
    {191, When::Always, "SBtnDiv"},
    {187, When::ShiftUp, "SBtnEqual"},
    {187, When::ShiftDown, "SBtnAdd"},
    {189, When::Always, "SBtnZF"},
    {'C', When::AltDown, "SBtnC"},
    {'E', When::AltDown, "SBtnCE"},
    {'M', When::AltDown, "SBtnMS"},
    {'A', When::AltDown, "SBtnMAdd"},
    {'H', When::AltDown, "SBtnMR"},
    {'L', When::AltDown, "SBtnMC"},
    {'S', When::AltDown, "SBtnSetCess"},
    {'J', When::AltDown, "SBtnTax"},
    {'B', When::AltDown, "SBtnPrice"},
    {'U', When::AltDown, "SBtnPriceAndTax"},
    {'R', When::AltDown, "BitBtnCancel"},
});

// The first row of `map` that clicks a control `exists(name)` denies, or
// map.size() when every row clicks a control there is. The window checks its
// map against its controls with it at compile time.
template <std::size_t N, class Exists>
constexpr std::size_t firstRowWithoutControl(const std::array<KeyBinding, N>& map, Exists exists)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (!exists(map[i].control)) {
            return i;
        }
    }
    return N;
}

// Stage one: the choice by key code, with the two Shift tests.
std::optional<std::string_view> keyStageOne(std::uint16_t code, ShiftState shift);
// Stage two: the Alt letters; nothing without Alt.
std::optional<std::string_view> keyStageTwo(std::uint16_t code, ShiftState shift);

} // namespace ui
