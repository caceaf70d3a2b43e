#pragma once

#include <cstddef>

namespace calc {

// Every key of the calculator window, one call each.
enum class Key {
    D0,
    D1,
    D2,
    D3,
    D4,
    D5,
    D6,
    D7,
    D8,
    D9,
    Dot,
    Sign,
    Back,
    CE,
    C,
    Add,
    Sub,
    Multi,
    Div,
    Equal,
    MS,
    MAdd,
    MR,
    MC,
    SetCess,
    Tax,
    Price,
    PriceAndTax,
    // Not a key: how many there are. A new key goes above it, and every
    // table with a row per key then fails to build until it has its row.
    Count,
};

inline constexpr std::size_t kKeyCount = static_cast<std::size_t>(Key::Count);

} // namespace calc
