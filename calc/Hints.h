#pragma once

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
};

// The hint's code page 936 text.
std::string_view hintText(Hint hint);

} // namespace calc
