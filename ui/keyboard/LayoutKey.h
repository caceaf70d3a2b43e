#pragma once

#include "ui/keyboard/KeyMap.h"

#include <optional>

namespace ui {

// What the keyboard layout in use says of one key of the main keyboard.
struct LayoutKey {
    // The digit of a key of the digit row, by its place: the key left of
    // Backspace is 0, whatever it types.
    std::optional<int> digit;
    // What its unshifted and its Shift level type; 0 for nothing printable.
    char32_t unshifted = 0;
    char32_t shifted = 0;
    // 'A' to 'Z': the Latin letter printed on the key, or, on a layout with no
    // Latin letters at all, the US letter at its place; 0 for none.
    char letter = 0;
};

// The key of the US keyboard map that acts for `key` pressed in `shift`:
// - a character among = + * / . - acts by its meaning (* multiplies, -
//   changes the sign);
// - otherwise a key of the digit row types its digit, and a letter key is
//   that letter (the map acts on letters only with Alt);
// - otherwise the other level's character acts by its meaning if it has one
//   (US Shift+/ types ? and divides);
// - otherwise the key does nothing.
// French unshifted & -> '1'; French Shift+8 (8) -> '8' without Shift;
// German Shift+0 (=) -> VK_OEM_PLUS without Shift; German # -> nothing.
std::optional<VirtualKey> layoutVirtualKey(const LayoutKey& key, ShiftState shift);

} // namespace ui
