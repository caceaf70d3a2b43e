#include "calc/Calculator.h"
#include "tests/RowName.h"
#include "tools/KeyScript.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using calc::Key;

namespace {

TEST(KeyScriptTokens, SplitOnBlanksAndLineEnds)
{
    EXPECT_EQ(keyscript::tokens("  SHOW\t1\r\n2 +/-  "), (std::vector<std::string_view>{"SHOW", "1", "2", "+/-"}));
    EXPECT_TRUE(keyscript::tokens(" \n ").empty());
}

TEST(KeyScriptTokens, EveryKeyNameReadsAsItsKey)
{
    for (const keyscript::KeyName& row : keyscript::keyNames()) {
        const auto step = keyscript::parseStep(row.token);
        ASSERT_TRUE(step && std::holds_alternative<keyscript::Press>(*step)) << row.token;
        EXPECT_EQ(std::get<keyscript::Press>(*step).key, row.key) << row.token;
    }
    EXPECT_EQ(keyscript::keyNames().size(), 28u);
}

struct StepCase {
    const char* name;
    const char* token;
    std::size_t alternative; // index in Step; npos: not a token
};

class KeyScriptSteps : public testing::TestWithParam<StepCase> {};

TEST_P(KeyScriptSteps, ReadTheToken)
{
    const auto step = keyscript::parseStep(GetParam().token);
    if (GetParam().alternative == std::string::npos) {
        EXPECT_FALSE(step.has_value());
    } else {
        ASSERT_TRUE(step.has_value());
        EXPECT_EQ(step->index(), GetParam().alternative);
    }
}

constexpr std::size_t kNone = std::string::npos;

INSTANTIATE_TEST_SUITE_P(Rows, KeyScriptSteps,
    testing::Values(StepCase{"Digit", "7", 0}, StepCase{"Number", "12.5", 1}, StepCase{"Show", "SHOW", 2},
        StepCase{"Pick", "PICK", 3}, StepCase{"SelectNone", "SELECT=-1", 4},
        StepCase{"SelectWithoutLine", "SELECT=", kNone}, StepCase{"SelectNotANumber", "SELECT=1x", kNone},
        StepCase{"Value", "VALUE=3fff8000000000000000", 5}, StepCase{"ValueTooShort", "VALUE=12", kNone},
        StepCase{"LowerCaseName", "show", kNone}, StepCase{"DigitAndLetter", "1a", kNone},
        StepCase{"Unknown", "NOPE", kNone}),
    RowName());

TEST(KeyScriptPlay, PlaysNumbersCallerValuesAndSelections)
{
    calc::Calculator c;
    keyscript::play(c, "VALUE=3fff8000000000000000 SHOW 12.5 + 30 = SELECT=1 PICK");
    EXPECT_EQ(c.entryText(), "42.5");
    EXPECT_EQ(c.value(), 30);
    EXPECT_EQ(c.modalResult(), 1);
}

TEST(KeyScriptPlay, StopsBeforeAnUnknownToken)
{
    calc::Calculator c;
    EXPECT_THROW(keyscript::play(c, "SHOW 5 NOPE 6"), std::invalid_argument);
    EXPECT_EQ(c.entryText(), "5.");
}

} // namespace
