#pragma once

// The one language of key scripts, spoken by calc-probe, the golden scripts
// in tests/golden and the C++ tests. A script is tokens separated by blanks
// or line ends:
//   0 ... 9  .  +/-  BS  CE  C  +  -  *  /  =         one key each
//   MS  M+  MR  MC  RATE  TAX  PRICE  TOTAL
//   12.5            two or more digits and points, typed key by key
//   SHOW            the window is shown
//   PICK            a double click on the tape
//   SELECT=<n>      the user selects tape line n (-1: none)
//   VALUE=<hex20>   a caller sets the public value (tools/Hex20.h)
// "SHOW 12 + 30 =" shows '42.'.

#include "calc/Extended.h"
#include "calc/Key.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <variant>
#include <vector>

namespace calc {
class Calculator;
} // namespace calc

namespace keyscript {

struct KeyName {
    std::string_view token;
    calc::Key key;
};

// Every key with its token, each once.
std::span<const KeyName> keyNames();

struct Press {
    calc::Key key;
};
struct TypeNumber {
    std::string_view keys; // digits and points
};
struct Show {};
struct Pick {};
struct Select {
    std::ptrdiff_t line;
};
struct SetValue {
    calc::Extended value;
};
using Step = std::variant<Press, TypeNumber, Show, Pick, Select, SetValue>;

// Nothing for a token outside the language. A TypeNumber views the token.
std::optional<Step> parseStep(std::string_view token);

// Plays one step; a key that cannot read the entry line throws its
// calc::Exception, as in the window.
void perform(calc::Calculator& calculator, const Step& step);

// The tokens of a script, in order.
std::vector<std::string_view> tokens(std::string_view script);

// Plays every token in order. A token outside the language throws
// std::invalid_argument before it is played; a key's error ends the script.
void play(calc::Calculator& calculator, std::string_view script);

} // namespace keyscript
