#include "CalcInvariants.h"
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
        constexpr std::array<long double, 12> values{0, 1, -42, 0.5L, 1e20L, -1e-5L, 1e4000L, 1e4932L,
            -1.23456789012345e-1000L, 1.5e-495L, std::numeric_limits<long double>::infinity(),
            std::numeric_limits<long double>::quiet_NaN()};
        return values[random_() % values.size()];
    }

    std::mt19937 random_;
};

void checkInvariants(const Calculator& c, bool wholeTape)
{
    const std::optional<std::string> broken = keys::brokenInvariant(c, wholeTape);
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

INSTANTIATE_TEST_SUITE_P(Seeds, RandomKeys, testing::Range(1u, 21u));

TEST(TapeLineKinds, RejectForeignLines)
{
    EXPECT_FALSE(keys::isTapeLine("42"));
    EXPECT_FALSE(keys::isTapeLine(keys::col25("", "4 2")));
    EXPECT_FALSE(keys::isTapeLine(std::string(keys::kResult) + "42"));
    EXPECT_TRUE(keys::isTapeLine(keys::col25(keys::kResult, "42")));
}

} // namespace
