#include "ui/keyboard/LayoutKey.h"

#include <algorithm>
#include <array>

namespace ui {

namespace {

// The characters that mean a key of the calculator, as the US keys that
// type them.
struct Meaning {
    char32_t character;
    std::uint16_t code;
    bool shift;
};

constexpr auto kMeanings = std::to_array<Meaning>({
    {U'=', vk::VK_OEM_PLUS, false},
    {U'+', vk::VK_OEM_PLUS, true},
    {U'*', '8', true},
    {U'/', vk::VK_OEM_2, false},
    {U'.', vk::VK_OEM_PERIOD, false},
    {U'-', vk::VK_OEM_MINUS, false},
});

std::optional<VirtualKey> byMeaning(char32_t character, ShiftState shift)
{
    const auto* meaning = std::find_if(
        kMeanings.begin(), kMeanings.end(), [character](const Meaning& row) { return row.character == character; });
    if (character == 0 || meaning == kMeanings.end()) {
        return std::nullopt;
    }
    shift.shift = meaning->shift;
    return VirtualKey{meaning->code, shift};
}

} // namespace

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

} // namespace ui
