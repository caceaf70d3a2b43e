#include "TapeTexts.h"
#include "tests/ExtendedLiteral.h"
#include "tools/KeyScript.h"

#include "calc/Exception.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <cmath>

using calc::Calculator;

namespace {

struct MemoryCase {
    const char* name;
    const char* script;
    const char* entry;
    const char* indicator;
    Extended memory;
};

class MemoryKeys : public testing::TestWithParam<MemoryCase> {};

TEST_P(MemoryKeys, KeepTheRegister)
{
    Calculator c;
    keyscript::play(c, GetParam().script);
    EXPECT_EQ(c.entryText(), GetParam().entry);
    EXPECT_EQ(c.memoryIndicator(), GetParam().indicator);
    EXPECT_EQ(c.state().MemoryValue, GetParam().memory);
}

INSTANTIATE_TEST_SUITE_P(Rows, MemoryKeys,
    testing::Values(MemoryCase{"StoreOfZeroStoresNothing", "SHOW MS", "0.", "", 0},
        MemoryCase{"AddOfZeroOnEmptyIndicatorStoresNothing", "SHOW M+", "0.", "", 0},
        MemoryCase{"AddingToZeroKeepsTheIndicator", "SHOW 5 MS 5 +/- M+ MR", "0.", "M", 0},
        MemoryCase{"AddOnEmptyIndicatorStores", "SHOW 4 M+ 1 M+ MR", "5.", "M", 5},
        MemoryCase{"AddAddsTheEntry", "SHOW 2.5 MS 1 M+ MR", "3.5", "M", 3.5_x},
        MemoryCase{"StoreReplaces", "SHOW 2 MS 3 MS MR", "3.", "M", 3},
        MemoryCase{"NextDigitStartsANewNumber", "SHOW 5 MS 3", "3.", "M", 5},
        MemoryCase{"ClearThenRecallDoesNothing", "SHOW 5 MS MC 7 MR", "7.", "", 0},
        MemoryCase{"ShowZeroesTheRegisterButKeepsTheIndicator", "SHOW 5 MS SHOW 7 MR", "0.", "M", 0},
        MemoryCase{"RecallShowsAPoint", "SHOW 25 MS CE MR", "25.", "M", 25},
        MemoryCase{"MemoryKeysLeaveTheCalculation", "SHOW 2 + 3 MS 4 =", "6.", "M", 3}),
    RowName());

TEST(MemoryKeys, RecallWithEmptyIndicatorKeepsTheFlags)
{
    Calculator c;
    keyscript::play(c, "SHOW 1 . 5 MR");
    EXPECT_EQ(c.entryText(), "1.5");
    EXPECT_FALSE(c.state().NewEntry);
    EXPECT_TRUE(c.state().FractionEntry);
}

TEST(MemoryKeys, AddPastTheRangeStoresAnInfinity)
{
    Calculator c;
    c.setValue(1e4932_x);
    keyscript::play(c, "SHOW MS M+ MR");
    EXPECT_TRUE((c.state().MemoryValue).isInfinity());
    EXPECT_EQ(c.entryText(), "INF.");
    EXPECT_THROW(keyscript::play(c, "M+"), calc::EConvertError);
    keyscript::play(c, "MC");
    EXPECT_EQ(c.memoryIndicator(), "");
    EXPECT_EQ(c.state().MemoryValue, 0);
}

TEST(MemoryKeys, UnreadableEntryStoresNothing)
{
    Calculator c;
    c.setValue(Extended::defaultNaN());
    keyscript::play(c, "SHOW");
    EXPECT_THROW(keyscript::play(c, "MS"), calc::EConvertError);
    EXPECT_EQ(c.memoryIndicator(), "");
    EXPECT_TRUE(c.hintLine().starts_with(texts::kMsHintStart));
}

} // namespace
