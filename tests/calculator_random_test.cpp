#include "KeyScript.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using calc::Calculator;
using calc::Key;

namespace {

bool isNumber(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789.-E") != std::string_view::npos) {
        return false;
    }
    try {
        calc::ParseNumber(text);
        return true;
    } catch (const calc::EConvertError&) {
        return false;
    }
}

// Blanks, then a number ending in the last byte.
bool isAlignedNumber(std::string_view field)
{
    const std::size_t start = field.find_first_not_of(' ');
    return start != std::string_view::npos && isNumber(field.substr(start));
}

bool startsWithLabel(std::string_view line, std::string_view label, std::string_view& rest)
{
    if (!line.starts_with(label)) {
        return false;
    }
    rest = line.substr(label.size());
    return true;
}

// One of the kinds of line the calculator writes.
bool isTapeLine(std::string_view line)
{
    std::string_view rest;
    if (line.empty() || line == keys::kSeparator || line == keys::kOverflowLine || line == keys::kZeroRate
        || line == keys::kNoPrice) {
        return true;
    }
    for (const std::string_view symbol : {keys::kPlus, keys::kMinus, keys::kTimes, keys::kDivide}) {
        if (line == symbol) {
            return true;
        }
        if (line.size() == 25 && line.starts_with(symbol) && isAlignedNumber(line.substr(2))) {
            return true;
        }
    }
    if (line.size() == 25 && line[0] == ' ' && isAlignedNumber(line)) {
        return true;
    }
    if (line.size() == 23 && isAlignedNumber(line)) {
        return true;
    }
    if (startsWithLabel(line, keys::kResult, rest)) {
        return (rest.size() == 21 && isAlignedNumber(rest)) || (rest.size() > 21 && isNumber(rest));
    }
    for (const std::string_view label : {keys::kTaxLabel, keys::kPriceLabel, keys::kTotalLabel}) {
        if (startsWithLabel(line, label, rest)) {
            return isNumber(rest);
        }
    }
    if (startsWithLabel(line, keys::kRateLabel, rest)) {
        return rest.ends_with('%') && isNumber(rest.substr(0, rest.size() - 1));
    }
    if (startsWithLabel(line, keys::kRateSetLabel, rest)) {
        return rest.size() == 13 && rest.ends_with('%') && isAlignedNumber(rest.substr(0, 12));
    }
    return false;
}

class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void playOne(Calculator& c)
    {
        const unsigned roll = random_() % 100;
        if (roll < 40) {
            c.press(static_cast<Key>(random_() % 10));
        } else if (roll < 44) {
            c.press(Key::Dot);
        } else if (roll < 60) {
            c.press(static_cast<Key>(static_cast<int>(Key::Add) + static_cast<int>(random_() % 4)));
        } else if (roll < 70) {
            c.press(Key::Equal);
        } else if (roll < 77) {
            constexpr std::array editing{Key::Sign, Key::Back, Key::Back, Key::CE, Key::C};
            c.press(editing[random_() % editing.size()]);
        } else if (roll < 84) {
            c.press(static_cast<Key>(static_cast<int>(Key::MS) + static_cast<int>(random_() % 4)));
        } else if (roll < 92) {
            c.press(static_cast<Key>(static_cast<int>(Key::SetCess) + static_cast<int>(random_() % 4)));
        } else if (roll < 97) {
            const auto lines = static_cast<std::ptrdiff_t>(c.tape().count());
            c.selectLine(static_cast<std::ptrdiff_t>(random_() % static_cast<unsigned>(lines + 2)) - 1);
            c.ListBoxShowDblClick();
        } else if (roll < 99) {
            c.setValue(interestingValue());
            c.FormShow();
        } else {
            c.FormShow();
        }
    }

private:
    long double interestingValue()
    {
        constexpr std::array<long double, 12> values{
            0, 1, -42, 0.5L, 1e20L, -1e-5L, 1e4000L, 1e4932L, -1.23456789012345e-1000L, 1.5e-495L,
            std::numeric_limits<long double>::infinity(), std::numeric_limits<long double>::quiet_NaN()};
        return values[random_() % values.size()];
    }

    std::mt19937 random_;
};

void checkInvariants(const Calculator& c)
{
    ASSERT_FALSE(c.entryText().empty());
    ASSERT_LE(c.entryText().size(), 24u) << c.entryText();
    const std::size_t count = c.tape().count();
    if (count > 0) {
        ASSERT_EQ(c.state().MarkIndex, static_cast<std::int32_t>(count) - 1);
    }
    ASSERT_GE(c.tape().selected(), -1);
    ASSERT_LT(c.tape().selected(), static_cast<std::ptrdiff_t>(count));
    if (c.state().LastOp.empty()) {
        ASSERT_EQ(c.state().SecondOperand, 0);
    }
    if (count > 0) {
        ASSERT_TRUE(isTapeLine(c.tape().line(count - 1))) << "'" << c.tape().line(count - 1) << "'";
    }
}

class RandomKeys : public testing::TestWithParam<unsigned> {};

TEST_P(RandomKeys, KeepTheInvariants)
{
    Calculator c;
    RandomPlayer player(GetParam());
    c.FormShow();
    for (int step = 0; step < 20000; ++step) {
        try {
            player.playOne(c);
        } catch (const calc::EConvertError&) {
        } catch (const calc::EOverflow&) {
        }
        ASSERT_NO_FATAL_FAILURE(checkInvariants(c)) << "step " << step;
        if (step % 1000 == 999) {
            for (std::size_t i = 0; i < c.tape().count(); ++i) {
                ASSERT_TRUE(isTapeLine(c.tape().line(i))) << "line " << i << " '" << c.tape().line(i) << "'";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomKeys, testing::Range(1u, 21u));

TEST(TapeLineKinds, RejectForeignLines)
{
    EXPECT_FALSE(isTapeLine("42"));
    EXPECT_FALSE(isTapeLine(keys::col25("", "4 2")));
    EXPECT_FALSE(isTapeLine(std::string(keys::kResult) + "42"));
    EXPECT_TRUE(isTapeLine(keys::col25(keys::kResult, "42")));
}

} // namespace
