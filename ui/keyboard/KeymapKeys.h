#pragma once

#include "ui/keyboard/LayoutKey.h"

#include <cstdint>
#include <optional>

struct xkb_keymap;

namespace ui {

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
