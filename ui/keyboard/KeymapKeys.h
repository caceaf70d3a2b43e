#pragma once

#include <cstdint>
#include <optional>

struct xkb_keymap;

namespace ui {

// What the keyboard layout in use says of one key of the main keyboard.
struct LayoutKey {
    // The digit of a key of the digit row, by its place: the tenth key of
    // the row (XKB's AE10, left of the US minus) is 0, whatever it types.
    std::optional<int> digit;
    // What its unshifted and its Shift level type; 0 for nothing printable.
    char32_t unshifted = 0;
    char32_t shifted = 0;
    // 'A' to 'Z': the Latin letter printed on the key, or, on a layout with no
    // Latin letters at all, the US letter at its place; 0 for none.
    char letter = 0;
};

// What `keymap` says of the key `keycode` in layout group `group`: its digit
// on the digit row, what its unshifted and Shift levels type, and its Latin
// letter (on a group without Latin letters, the US letter at its place).
// Nothing for keys that type no character (Return, F9, ...), the numeric
// keypad's keys and keys the keymap does not hold.
std::optional<LayoutKey> describeKey(xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t group);

// The layout group of `keymap` in which the key `keycode` types `keysym` at
// some level: `likely` where it does there, else the first where it does,
// else `likely`.
std::uint32_t groupTyping(xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t keysym, std::uint32_t likely);

} // namespace ui
