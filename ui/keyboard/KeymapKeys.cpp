#include "ui/keyboard/KeymapKeys.h"

#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace ui {

namespace {

struct KeyPlace {
    std::string_view name;
    char character;
};

// XKB's names for the places of the digit row and the letters of a US
// keyboard.
constexpr auto kDigitRow = std::to_array<KeyPlace>({
    {"AE01", '1'},
    {"AE02", '2'},
    {"AE03", '3'},
    {"AE04", '4'},
    {"AE05", '5'},
    {"AE06", '6'},
    {"AE07", '7'},
    {"AE08", '8'},
    {"AE09", '9'},
    {"AE10", '0'},
});

constexpr auto kUsLetters = std::to_array<KeyPlace>({
    {"AD01", 'Q'},
    {"AD02", 'W'},
    {"AD03", 'E'},
    {"AD04", 'R'},
    {"AD05", 'T'},
    {"AD06", 'Y'},
    {"AD07", 'U'},
    {"AD08", 'I'},
    {"AD09", 'O'},
    {"AD10", 'P'},
    {"AC01", 'A'},
    {"AC02", 'S'},
    {"AC03", 'D'},
    {"AC04", 'F'},
    {"AC05", 'G'},
    {"AC06", 'H'},
    {"AC07", 'J'},
    {"AC08", 'K'},
    {"AC09", 'L'},
    {"AB01", 'Z'},
    {"AB02", 'X'},
    {"AB03", 'C'},
    {"AB04", 'V'},
    {"AB05", 'B'},
    {"AB06", 'N'},
    {"AB07", 'M'},
});

char at(const auto& places, const char* name)
{
    if (name == nullptr) {
        return 0;
    }
    const auto* place = std::find_if(
        places.begin(), places.end(), [name](const KeyPlace& row) { return row.name == std::string_view(name); });
    return place == places.end() ? 0 : place->character;
}

bool onKeypad(xkb_keysym_t sym) { return sym >= XKB_KEY_KP_Space && sym <= XKB_KEY_KP_Equal; }

// The first keysym of `key` at `level` of `group`; NoSymbol where none.
xkb_keysym_t symAt(xkb_keymap* keymap, xkb_keycode_t key, xkb_layout_index_t group, xkb_level_index_t level)
{
    const xkb_keysym_t* syms = nullptr;
    return xkb_keymap_key_get_syms_by_level(keymap, key, group, level, &syms) > 0 ? syms[0] : XKB_KEY_NoSymbol;
}

// The level `key` types at with exactly the modifiers `mask` down: 0 with
// none, usually 1 with Shift.
std::optional<xkb_level_index_t> levelFor(
    xkb_keymap* keymap, xkb_keycode_t key, xkb_layout_index_t group, xkb_mod_mask_t mask)
{
    const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, key, group);
    for (xkb_level_index_t level = 0; level < levels; ++level) {
        std::array<xkb_mod_mask_t, 16> masks{};
        const std::size_t count =
            xkb_keymap_key_get_mods_for_level(keymap, key, group, level, masks.data(), masks.size());
        if (std::find(masks.begin(), masks.begin() + static_cast<std::ptrdiff_t>(count), mask) !=
            masks.begin() + static_cast<std::ptrdiff_t>(count)) {
            return level;
        }
    }
    return std::nullopt;
}

// The printable character of `sym`; 0 for control characters and none.
char32_t printable(xkb_keysym_t sym)
{
    const char32_t character = xkb_keysym_to_utf32(sym);
    return character < 0x20 || character == 0x7F ? 0 : character;
}

char latinLetter(char32_t character)
{
    if (character >= U'a' && character <= U'z') {
        return static_cast<char>(character - U'a' + 'A');
    }
    if (character >= U'A' && character <= U'Z') {
        return static_cast<char>(character);
    }
    return 0;
}

bool hasLatinLetters(xkb_keymap* keymap, xkb_layout_index_t group)
{
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap); ++key) {
        if (latinLetter(printable(symAt(keymap, key, group, 0))) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<LayoutKey> describeKey(xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t group)
{
    if (xkb_keymap_num_layouts_for_key(keymap, keycode) == 0) {
        return std::nullopt;
    }
    const xkb_mod_index_t shiftIndex = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT);
    const auto base = levelFor(keymap, keycode, group, 0);
    const auto shifted = levelFor(keymap, keycode, group, xkb_mod_mask_t{1} << shiftIndex);
    const xkb_keysym_t baseSym = base ? symAt(keymap, keycode, group, *base) : XKB_KEY_NoSymbol;
    const xkb_keysym_t shiftedSym = shifted ? symAt(keymap, keycode, group, *shifted) : XKB_KEY_NoSymbol;
    LayoutKey key{std::nullopt, printable(baseSym), printable(shiftedSym), 0};
    if (onKeypad(baseSym) || onKeypad(shiftedSym) || (key.unshifted == 0 && key.shifted == 0)) {
        return std::nullopt;
    }
    const char* name = xkb_keymap_key_get_name(keymap, keycode);
    if (const char digit = at(kDigitRow, name)) {
        key.digit = digit - '0';
    }
    key.letter = latinLetter(key.unshifted) != 0 ? latinLetter(key.unshifted) : latinLetter(key.shifted);
    if (key.letter == 0 && !hasLatinLetters(keymap, group)) {
        key.letter = at(kUsLetters, name);
    }
    return key;
}

std::uint32_t groupTyping(xkb_keymap* keymap, std::uint32_t keycode, std::uint32_t keysym, std::uint32_t likely)
{
    const xkb_layout_index_t groups = xkb_keymap_num_layouts_for_key(keymap, keycode);
    const auto types = [&](xkb_layout_index_t group) {
        for (xkb_level_index_t level = 0; level < xkb_keymap_num_levels_for_key(keymap, keycode, group); ++level) {
            if (symAt(keymap, keycode, group, level) == keysym) {
                return true;
            }
        }
        return false;
    };
    if (groups == 0 || types(likely % groups)) {
        return groups == 0 ? likely : likely % groups;
    }
    for (xkb_layout_index_t group = 0; group < groups; ++group) {
        if (types(group)) {
            return group;
        }
    }
    return likely % groups;
}

} // namespace ui
