#include "tools/KeyScript.h"

#include "calc/Calculator.h"
#include "calc/EnumRows.h"
#include "tools/Hex20.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <stdexcept>
#include <string>

namespace keyscript {
namespace {

using calc::Key;

constexpr std::array kKeyNames{
    KeyName{"0", Key::D0},
    KeyName{"1", Key::D1},
    KeyName{"2", Key::D2},
    KeyName{"3", Key::D3},
    KeyName{"4", Key::D4},
    KeyName{"5", Key::D5},
    KeyName{"6", Key::D6},
    KeyName{"7", Key::D7},
    KeyName{"8", Key::D8},
    KeyName{"9", Key::D9},
    KeyName{".", Key::Dot},
    KeyName{"+/-", Key::Sign},
    KeyName{"BS", Key::Back},
    KeyName{"CE", Key::CE},
    KeyName{"C", Key::C},
    KeyName{"+", Key::Add},
    KeyName{"-", Key::Sub},
    KeyName{"*", Key::Multi},
    KeyName{"/", Key::Div},
    KeyName{"=", Key::Equal},
    KeyName{"MS", Key::MS},
    KeyName{"M+", Key::MAdd},
    KeyName{"MR", Key::MR},
    KeyName{"MC", Key::MC},
    KeyName{"RATE", Key::SetCess},
    KeyName{"TAX", Key::Tax},
    KeyName{"PRICE", Key::Price},
    KeyName{"TOTAL", Key::PriceAndTax},
};

constexpr bool eachTokenOnce()
{
    for (std::size_t i = 0; i < kKeyNames.size(); ++i) {
        for (std::size_t j = i + 1; j < kKeyNames.size(); ++j) {
            if (kKeyNames[i].token == kKeyNames[j].token) {
                return false;
            }
        }
    }
    return true;
}
static_assert(kKeyNames.size() == calc::kKeyCount, "kKeyNames: a Key without its key-script token");
static_assert(calc::noValueTwice(kKeyNames, &KeyName::key), "kKeyNames: a Key named twice");
static_assert(eachTokenOnce(), "kKeyNames: a token names two keys");

constexpr std::string_view kSelectPrefix = "SELECT=";
constexpr std::string_view kValuePrefix = "VALUE=";
constexpr std::string_view kNumberKeys = "0123456789.";
constexpr std::string_view kSeparators = " \t\n\v\f\r";

std::optional<std::ptrdiff_t> parseLine(std::string_view text)
{
    std::ptrdiff_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return n;
}

std::optional<Key> keyOfNumber(char c)
{
    for (const KeyName& row : kKeyNames) {
        if (row.token.size() == 1 && row.token[0] == c) {
            return row.key;
        }
    }
    return std::nullopt;
}

// std::visit over the steps, one lambda each.
template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
// Clang 14 deduces no aggregate's template arguments by itself.
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

std::span<const KeyName> keyNames() { return kKeyNames; }

std::optional<Step> parseStep(std::string_view token)
{
    for (const KeyName& row : kKeyNames) {
        if (row.token == token) {
            return Press{row.key};
        }
    }
    if (token.size() > 1 && token.find_first_not_of(kNumberKeys) == std::string_view::npos) {
        return TypeNumber{token};
    }
    if (token == "SHOW") {
        return Show{};
    }
    if (token == "PICK") {
        return Pick{};
    }
    if (token.starts_with(kSelectPrefix)) {
        if (const auto line = parseLine(token.substr(kSelectPrefix.size()))) {
            return Select{*line};
        }
        return std::nullopt;
    }
    if (token.starts_with(kValuePrefix)) {
        if (const auto value = probe::fromHex20(token.substr(kValuePrefix.size()))) {
            return SetValue{*value};
        }
    }
    return std::nullopt;
}

void perform(calc::Calculator& calculator, const Step& step)
{
    std::visit(Overloaded{
                   [&](const Press& press) { calculator.press(press.key); },
                   [&](const TypeNumber& number) {
                       for (const char c : number.keys) {
                           calculator.press(*keyOfNumber(c));
                       }
                   },
                   [&](const Show&) { calculator.FormShow(); },
                   [&](const Pick&) { calculator.ListBoxShowDblClick(); },
                   [&](const Select& select) { calculator.selectLine(select.line); },
                   [&](const SetValue& set) { calculator.setValue(set.value); },
               },
        step);
}

std::vector<std::string_view> tokens(std::string_view script)
{
    std::vector<std::string_view> result;
    std::size_t at = script.find_first_not_of(kSeparators);
    while (at != std::string_view::npos) {
        const std::size_t end = std::min(script.find_first_of(kSeparators, at), script.size());
        result.push_back(script.substr(at, end - at));
        at = script.find_first_not_of(kSeparators, end);
    }
    return result;
}

void play(calc::Calculator& calculator, std::string_view script)
{
    for (const std::string_view token : tokens(script)) {
        const std::optional<Step> step = parseStep(token);
        if (!step) {
            throw std::invalid_argument("not a key-script token: '" + std::string(token) + "'");
        }
        perform(calculator, *step);
    }
}

} // namespace keyscript
