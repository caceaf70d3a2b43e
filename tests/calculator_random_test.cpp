#include "CalcInvariants.h"
#include "TapeTexts.h"
#include "tests/ExtendedLiteral.h"
#include "tools/KeyScript.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>

using calc::Calculator;
using calc::Key;

namespace {

class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void playOne(Calculator& c)
    {
        constexpr std::array digits{
            Key::D0, Key::D1, Key::D2, Key::D3, Key::D4, Key::D5, Key::D6, Key::D7, Key::D8, Key::D9};
        constexpr std::array operators{Key::Add, Key::Sub, Key::Multi, Key::Div};
        constexpr std::array editing{Key::Sign, Key::Back, Key::Back, Key::CE, Key::C};
        constexpr std::array memory{Key::MS, Key::MAdd, Key::MR, Key::MC};
        constexpr std::array tax{Key::SetCess, Key::Tax, Key::Price, Key::PriceAndTax};
        const unsigned roll = random_() % 100;
        if (roll < 40) {
            c.press(pick(digits));
        } else if (roll < 44) {
            c.press(Key::Dot);
        } else if (roll < 60) {
            c.press(pick(operators));
        } else if (roll < 70) {
            c.press(Key::Equal);
        } else if (roll < 77) {
            c.press(pick(editing));
        } else if (roll < 84) {
            c.press(pick(memory));
        } else if (roll < 92) {
            c.press(pick(tax));
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
    template <std::size_t N>
    Key pick(const std::array<Key, N>& keys)
    {
        return keys[random_() % N];
    }

    Extended interestingValue()
    {
        static const std::array<Extended, 12> values{0, 1, -42, 0.5_x, 1e20_x, -1e-5_x, 1e4000_x, 1e4932_x,
            -1.23456789012345e-1000_x, 1.5e-495_x, Extended::infinity(), Extended::defaultNaN()};
        return values[random_() % values.size()];
    }

    std::mt19937 random_;
};

void checkInvariants(const Calculator& c, bool wholeTape)
{
    const std::optional<std::string> broken = invariants::brokenInvariant(c, wholeTape);
    ASSERT_FALSE(broken.has_value()) << *broken;
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
        ASSERT_NO_FATAL_FAILURE(checkInvariants(c, step % 1000 == 999)) << "step " << step;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RandomKeys, testing::Range(1u, 21u), RowName());

TEST(TapeLineKinds, RejectForeignLines)
{
    EXPECT_FALSE(invariants::isTapeLine("42"));
    EXPECT_FALSE(invariants::isTapeLine(texts::col25("", "4 2")));
    EXPECT_FALSE(invariants::isTapeLine(std::string(texts::kResult) + "42"));
    EXPECT_TRUE(invariants::isTapeLine(texts::col25(texts::kResult, "42")));
    EXPECT_TRUE(invariants::isTapeLine(std::string(texts::kPriceLabel) + "1.18973149536E4932"));
    EXPECT_FALSE(invariants::isTapeLine(std::string(texts::kPriceLabel) + "E4932"));
    EXPECT_FALSE(invariants::isTapeLine(std::string(texts::kPriceLabel) + "1.2E4933"));
}

} // namespace
