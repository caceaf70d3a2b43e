#pragma once

#include "ui/keyboard/KeymapKeys.h"
#include "ui/keyboard/VirtualKeys.h"

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
// (Key_Asterisk, Shift) -> ('8', Shift); (Key_8, Keypad) -> (VK_NUMPAD8);
// (Key_Plus, Keypad) -> (VK_ADD); (Key_Enter, Keypad) -> (VK_RETURN).
// Keys the map can never use (Shift, Alt, Home, ...) give nothing. The
// window uses it for the keys that type no character and the keypad, whose
// Qt keys are the same on every layout, and wherever the layout is unknown.
std::optional<VirtualKey> toVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// The key of the US keyboard map that acts for `key` of the layout in use
// pressed in `shift`:
// - a character among = + * / . - acts by its meaning, as the US key that
//   types it (* multiplies, - changes the sign);
// - otherwise a key of the digit row types its digit, and a letter key is
//   that letter (the map acts on letters only with Alt);
// - otherwise the other level's character acts by its meaning if it has one
//   (US Shift+/ types ? and divides);
// - otherwise the key does nothing.
// French unshifted & -> '1'; French Shift+8 (8) -> '8' without Shift;
// German Shift+0 (=) -> VK_OEM_PLUS without Shift; German # -> nothing.
std::optional<VirtualKey> layoutVirtualKey(const LayoutKey& key, ShiftState shift);

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
    {vk::VK_BACK, When::Always, "SBtnBack"},
    {vk::VK_RETURN, When::Always, "SBtnEqual"},
    {vk::VK_ESCAPE, When::Always, "BitBtnCancel"},
    {vk::VK_F9, When::Always, "BitBtnCancel"},
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
    {vk::VK_NUMPAD0, When::Always, "SBtn0"},
    {vk::VK_NUMPAD1, When::Always, "SBtn1"},
    {vk::VK_NUMPAD2, When::Always, "SBtn2"},
    {vk::VK_NUMPAD3, When::Always, "SBtn3"},
    {vk::VK_NUMPAD4, When::Always, "SBtn4"},
    {vk::VK_NUMPAD5, When::Always, "SBtn5"},
    {vk::VK_NUMPAD6, When::Always, "SBtn6"},
    {vk::VK_NUMPAD7, When::Always, "SBtn7"},
    {vk::VK_NUMPAD8, When::Always, "SBtn8"},
    {vk::VK_NUMPAD9, When::Always, "SBtn9"},
    {vk::VK_MULTIPLY, When::Always, "SBtnMulti"},
    {vk::VK_ADD, When::Always, "SBtnAdd"},
    {vk::VK_SUBTRACT, When::Always, "SBtnSub"},
    {vk::VK_DECIMAL, When::Always, "SBtnDot"},
    {vk::VK_OEM_PERIOD, When::Always, "SBtnDot"},
    {vk::VK_DIVIDE, When::Always, "SBtnDiv"},
    {vk::VK_OEM_2, When::Always, "SBtnDiv"},
    {vk::VK_OEM_PLUS, When::ShiftUp, "SBtnEqual"},
    {vk::VK_OEM_PLUS, When::ShiftDown, "SBtnAdd"},
    {vk::VK_OEM_MINUS, When::Always, "SBtnZF"},
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

// Stage one: the row of kKeyMap chosen by key code, with the two Shift tests.
std::optional<std::size_t> keyStageOne(std::uint16_t code, ShiftState shift);
// Stage two: the row of an Alt letter; nothing without Alt.
std::optional<std::size_t> keyStageTwo(std::uint16_t code, ShiftState shift);

} // namespace ui
