#include "TapeTexts.h"
#include "tests/ExtendedLiteral.h"
#include "tools/KeyScript.h"

#include "calc/Exception.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <limits>

using calc::Calculator;

namespace {

struct EntryCase {
    const char* name;
    const char* script;
    const char* entry;
    bool newEntry;
    bool fraction;
};

class EntryKeys : public testing::TestWithParam<EntryCase> {};

TEST_P(EntryKeys, EditTheEntryLine)
{
    Calculator c;
    keyscript::play(c, GetParam().script);
    EXPECT_EQ(c.entryText(), GetParam().entry);
    EXPECT_EQ(c.state().NewEntry, GetParam().newEntry);
    EXPECT_EQ(c.state().FractionEntry, GetParam().fraction);
}

INSTANTIATE_TEST_SUITE_P(Rows, EntryKeys,
    testing::Values(EntryCase{"LeadingZerosAreNotTyped", "SHOW 0 0", "0.", true, false},
        EntryCase{"DigitsBuildAnInteger", "SHOW 1 2", "12.", false, false},
        EntryCase{"ZeroAfterThePoint", "SHOW 1 2 . 0", "12.0", false, true},
        EntryCase{"FractionDigits", "SHOW 12.05", "12.05", false, true},
        EntryCase{"PointFirst", "SHOW .", "0.", false, true},
        EntryCase{"PointFirstThenFive", "SHOW . 5", "0.5", false, true},
        EntryCase{"SecondPointChangesNothing", "SHOW 1 . 5 .", "1.5", false, true},
        EntryCase{"SignOnShownOperand", "SHOW 8 + +/-", "-8.", true, false},
        EntryCase{"DigitReplacesNegatedOperand", "SHOW 8 + +/- 3", "3.", false, false},
        EntryCase{"PointAfterResultStartsFraction", "SHOW 6 * 7 = .", "0.", false, true},
        EntryCase{"ZeroAfterResult", "SHOW 6 * 7 = 0", "0.", false, false},
        EntryCase{"BackspaceOnFive", "SHOW 5 BS", "0.", false, false},
        EntryCase{"BackspaceOnMinusFive", "SHOW 5 +/- BS", "0.", false, false},
        EntryCase{"BackspaceOnPointFive", "SHOW . 5 BS", "0.", false, true},
        EntryCase{"DigitAfterBackspaceInFraction", "SHOW . 5 BS 7", "0.7", false, true},
        EntryCase{"BackspaceDropsDigitBeforePoint", "SHOW 127 BS", "12.", false, false},
        EntryCase{"BackspaceOnFraction", "SHOW 12.34 BS", "12.3", false, true},
        EntryCase{"BackspaceOnShownResult", "SHOW 6 * 7 = BS", "4.", true, false},
        EntryCase{"ZeroOnMinusZero", "SHOW 5 BS +/- 0", "-00.", false, false},
        EntryCase{"SevenOnMinusZero", "SHOW 5 BS +/- 7", "-07.", false, false},
        EntryCase{"ShownMinusZeroIsReplaced", "SHOW +/- 0", "0.", false, false},
        EntryCase{"SignTwice", "SHOW 5 +/- +/-", "5.", false, false},
        EntryCase{"ClearEntry", "SHOW 1 . 2 CE", "0.", true, false},
        EntryCase{"TwentiethByteAccepted", "SHOW 1234567890123456789", "1234567890123456789.", false, false},
        EntryCase{"TwentyFirstByteRefused", "SHOW 12345678901234567890", "1234567890123456789.", false, false},
        EntryCase{"ZeroRefusedAtLimit", "SHOW 1.234567890123456789 0", "1.234567890123456789", false, true},
        EntryCase{"PointRefusedAtLimit", "SHOW 1234567890123456789 .", "1234567890123456789.", false, false},
        // A new show keeps FractionEntry, so digits go on after the shown value.
        EntryCase{"ShowKeepsFractionEntry", "SHOW 1.5 SHOW 7", "0.7", true, true},
        // A key that starts a new number replaces a shown number of any length.
        EntryCase{"DigitReplacesResultOfTwentyBytes", "SHOW 1 / 3000 = 7", "7.", false, false},
        EntryCase{"ZeroReplacesResultOfTwentyBytes", "SHOW 1 / 3000 = 0", "0.", false, false},
        EntryCase{"PointReplacesResultOfTwentyBytes", "SHOW 1 / 3000 = .", "0.", false, true},
        EntryCase{"DigitReplacesNegativeExponentResult", "SHOW 1 / 3 / 100000 +/- = 7", "7.", false, false},
        EntryCase{"DigitAfterOperatorOnLongResult", "SHOW 1234567890123456 +/- = + 7", "7.", false, false},
        EntryCase{"ClearEntryBeforeLongResultDigit", "SHOW 1 / 3 / 100000 +/- = CE 7", "7.", false, false},
        EntryCase{
            "TypedTwentyBytesRefuseTheNextDigit", "SHOW 11111111111111111111", "1111111111111111111.", false, false}),
    RowName());

struct HintCase {
    const char* name;
    const char* script;
    std::size_t bytes;
};

class HintLengths : public testing::TestWithParam<HintCase> {};

// Every key writes its own text; the byte counts catch a wrong character.
TEST_P(HintLengths, LastKeyWritesItsText)
{
    Calculator c;
    keyscript::play(c, GetParam().script);
    EXPECT_EQ(c.hintLine().size(), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Rows, HintLengths,
    testing::Values(HintCase{"Show", "SHOW", 77}, HintCase{"Digit", "SHOW 5", 28}, HintCase{"Zero", "SHOW 0", 28},
        HintCase{"Point", "SHOW .", 28}, HintCase{"Add", "SHOW +", 41}, HintCase{"Sub", "SHOW -", 40},
        HintCase{"Multi", "SHOW *", 42}, HintCase{"Div", "SHOW /", 43}, HintCase{"Sign", "SHOW +/-", 63},
        HintCase{"Equal", "SHOW =", 77}, HintCase{"C", "SHOW C", 43}, HintCase{"CE", "SHOW CE", 40},
        HintCase{"MS", "SHOW MS", 44}, HintCase{"MAddInUse", "SHOW 5 MS M+", 54}, HintCase{"MR", "SHOW MR", 40},
        HintCase{"MC", "SHOW MC", 42}, HintCase{"Back", "SHOW BS", 45}, HintCase{"Rate", "SHOW RATE", 71},
        HintCase{"Tax", "SHOW TAX", 67}, HintCase{"Price", "SHOW PRICE", 67}, HintCase{"Total", "SHOW TOTAL", 71},
        HintCase{"Limit", "SHOW 12345678901234567890", 42}),
    RowName());

TEST(HandOvers, ChainedOperatorLeavesTheEqualsHint)
{
    Calculator c;
    keyscript::play(c, "SHOW 5 + 3 +");
    EXPECT_TRUE(c.hintLine().starts_with(texts::kEqualHintStart));
}

TEST(HandOvers, MemoryAddOnEmptyIndicatorLeavesTheStoreHint)
{
    Calculator c;
    keyscript::play(c, "SHOW 5 M+");
    EXPECT_TRUE(c.hintLine().starts_with(texts::kMsHintStart));
}

TEST(HandOvers, RefusedDigitLeavesTheLimitHint)
{
    Calculator c;
    keyscript::play(c, "SHOW 12345678901234567890");
    EXPECT_EQ(c.hintLine(), texts::kLimitHint);
}

TEST(EntryLimit, NewNumberAfterLongResultGetsTheDigitsHint)
{
    Calculator c;
    keyscript::play(c, "SHOW 1 / 3000 =");
    ASSERT_EQ(c.entryText(), "0.000333333333333333");
    keyscript::play(c, "7");
    EXPECT_EQ(c.hintLine().size(), 28u);
    EXPECT_NE(c.hintLine(), texts::kLimitHint);
}

TEST(EntryLimit, ShowInFractionEntryAppendsAndKeepsTheLimit)
{
    Calculator c;
    keyscript::play(c, "SHOW .");
    c.setValue(Extended::largest());
    keyscript::play(c, "SHOW");
    ASSERT_EQ(c.entryText(), "1.18973149535723E4932");
    keyscript::play(c, "7");
    EXPECT_EQ(c.entryText(), "1.18973149535723E4932");
    EXPECT_EQ(c.hintLine(), texts::kLimitHint);
    c.setValue(0.5_x);
    keyscript::play(c, "SHOW 7");
    EXPECT_EQ(c.entryText(), "0.57");
}

TEST(ClearAll, EmptiesTapeAndForgetsOperatorsButKeepsMemoryAndMark)
{
    Calculator c;
    keyscript::play(c, "SHOW 5 MS 1 2 + 3 0 = 4 + C");
    EXPECT_EQ(c.tape().count(), 0u);
    EXPECT_EQ(c.tape().selected(), -1);
    EXPECT_EQ(c.entryText(), "0.");
    EXPECT_EQ(c.state().PendingOp, "");
    EXPECT_EQ(c.state().LastOp, "");
    EXPECT_EQ(c.state().FirstOperand, 0);
    EXPECT_EQ(c.state().SecondOperand, 0);
    EXPECT_EQ(c.memoryIndicator(), "M");
    EXPECT_EQ(c.state().MemoryValue, 5);
    EXPECT_EQ(c.state().MarkIndex, 6);
    keyscript::play(c, "7 =");
    EXPECT_EQ(c.entryText(), "7.");
}

TEST(ClearEntry, KeepsThePendingOperation)
{
    Calculator c;
    keyscript::play(c, "SHOW 5 + 3 CE 4 =");
    EXPECT_EQ(c.entryText(), "9.");
}

TEST(Backspace, EditsAShownExponentByteByByte)
{
    Calculator c;
    c.setValue(1.5e20_x);
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.entryText(), "1.5E20");
    keyscript::play(c, "BS");
    EXPECT_EQ(c.entryText(), "1.5E2");
}

TEST(Show, SetsTheStartState)
{
    Calculator c;
    EXPECT_EQ(c.entryText(), "");
    EXPECT_EQ(c.hintLine(), "");
    EXPECT_EQ(c.rateCaption(), "");
    c.setValue(12.5_x);
    keyscript::play(c, "5 MS + SHOW");
    EXPECT_EQ(c.entryText(), "12.5");
    EXPECT_EQ(c.rateCaption(), "17%");
    EXPECT_EQ(c.state().TaxRate, 17);
    EXPECT_EQ(c.state().PendingOp, "");
    EXPECT_EQ(c.state().MemoryValue, 0);
    EXPECT_EQ(c.memoryIndicator(), "M");
    EXPECT_TRUE(c.state().NewEntry);
    EXPECT_EQ(c.tape().count(), 2u);
    c.setValue(3);
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.entryText(), "3.");
}

TEST(Show, NonFiniteValueIsShownAsItsText)
{
    Calculator c;
    c.setValue(Extended::infinity());
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.entryText(), "INF.");
    EXPECT_THROW(keyscript::play(c, "+"), calc::EConvertError);
    c.setValue(Extended::defaultNaN());
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.entryText(), "NAN.");
}

TEST(BeforeShow, KeysDoNotCrash)
{
    Calculator c;
    keyscript::play(c, "BS");
    EXPECT_EQ(c.entryText(), "");
    keyscript::play(c, "0");
    EXPECT_EQ(c.entryText(), "");
    keyscript::play(c, "+/-");
    EXPECT_EQ(c.entryText(), "-");
    keyscript::play(c, "BS");
    EXPECT_EQ(c.entryText(), "");
    EXPECT_THROW(keyscript::play(c, "="), calc::EConvertError);
    EXPECT_NO_THROW(keyscript::play(c, "PICK MR MC"));
    keyscript::play(c, "7");
    EXPECT_EQ(c.entryText(), "7.");
}

} // namespace
