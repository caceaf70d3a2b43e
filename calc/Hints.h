#pragma once

#include "calc/Key.h"

#include <cstddef>
#include <string_view>

namespace calc {

// What each key tells the user on the hint line.
enum class Hint {
    Digits,
    Add,
    Sub,
    Multi,
    Div,
    Sign,
    Equal,
    C,
    CE,
    MS,
    MAdd,
    MR,
    MC,
    Back,
    SetCess,
    Tax,
    Price,
    PriceAndTax,
    Welcome,
    EntryLimit,
    // Not a hint: how many there are. A new hint goes above it.
    Count,
};

inline constexpr std::size_t kHintCount = static_cast<std::size_t>(Hint::Count);

// The hint's code page 936 text.
std::string_view hintText(Hint hint);

// The hint a key writes first: the digits and the point share one.
Hint hintOf(Key key);

} // namespace calc
