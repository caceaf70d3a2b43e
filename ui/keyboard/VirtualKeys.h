#pragma once

#include <cstdint>

// The virtual-key codes of a US keyboard the keyboard map is written in,
// under the names Windows gives them. Digits and letters are their own
// characters, '0' to '9' and 'A' to 'Z', and have no names.
namespace ui::vk {

inline constexpr std::uint16_t VK_BACK = 0x08;
inline constexpr std::uint16_t VK_TAB = 0x09;
inline constexpr std::uint16_t VK_RETURN = 0x0D;
inline constexpr std::uint16_t VK_ESCAPE = 0x1B;
inline constexpr std::uint16_t VK_SPACE = 0x20;
inline constexpr std::uint16_t VK_LEFT = 0x25;
inline constexpr std::uint16_t VK_UP = 0x26;
inline constexpr std::uint16_t VK_RIGHT = 0x27;
inline constexpr std::uint16_t VK_DOWN = 0x28;
inline constexpr std::uint16_t VK_DELETE = 0x2E;
inline constexpr std::uint16_t VK_NUMPAD0 = 0x60;
inline constexpr std::uint16_t VK_NUMPAD1 = 0x61;
inline constexpr std::uint16_t VK_NUMPAD2 = 0x62;
inline constexpr std::uint16_t VK_NUMPAD3 = 0x63;
inline constexpr std::uint16_t VK_NUMPAD4 = 0x64;
inline constexpr std::uint16_t VK_NUMPAD5 = 0x65;
inline constexpr std::uint16_t VK_NUMPAD6 = 0x66;
inline constexpr std::uint16_t VK_NUMPAD7 = 0x67;
inline constexpr std::uint16_t VK_NUMPAD8 = 0x68;
inline constexpr std::uint16_t VK_NUMPAD9 = 0x69;
inline constexpr std::uint16_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint16_t VK_ADD = 0x6B;
inline constexpr std::uint16_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint16_t VK_DECIMAL = 0x6E;
inline constexpr std::uint16_t VK_DIVIDE = 0x6F;
inline constexpr std::uint16_t VK_F1 = 0x70; // to VK_F24 = 0x87
inline constexpr std::uint16_t VK_F9 = 0x78;
inline constexpr std::uint16_t VK_OEM_1 = 0xBA; // ; :
inline constexpr std::uint16_t VK_OEM_PLUS = 0xBB; // = +
inline constexpr std::uint16_t VK_OEM_COMMA = 0xBC; // , <
inline constexpr std::uint16_t VK_OEM_MINUS = 0xBD; // - _
inline constexpr std::uint16_t VK_OEM_PERIOD = 0xBE; // . >
inline constexpr std::uint16_t VK_OEM_2 = 0xBF; // / ?
inline constexpr std::uint16_t VK_OEM_3 = 0xC0; // ` ~
inline constexpr std::uint16_t VK_OEM_4 = 0xDB; // [ {
inline constexpr std::uint16_t VK_OEM_5 = 0xDC; // \ |
inline constexpr std::uint16_t VK_OEM_6 = 0xDD; // ] }
inline constexpr std::uint16_t VK_OEM_7 = 0xDE; // ' "

} // namespace ui::vk
