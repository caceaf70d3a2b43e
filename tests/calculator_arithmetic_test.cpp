#include "TapeTexts.h"
#include "tests/ExtendedLiteral.h"
#include "tools/KeyScript.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using calc::Calculator;
using texts::col25;
using texts::kSeparator;
using Lines = std::vector<std::string>;

namespace {

std::string result(std::string_view number) { return col25(texts::kResult, number); }

TEST(Equals, TwelvePlusThirtyOnAnEmptyTape)
{
    Calculator c;
    keyscript::play(c, "SHOW 12 + 30 =");
    EXPECT_EQ(texts::tapeLines(c), (Lines{col25("", "12"), col25(texts::kPlus, "30"), kSeparator, result("42")}));
    EXPECT_EQ(c.state().MarkIndex, 3);
    EXPECT_EQ(c.tape().selected(), 3);
    EXPECT_EQ(c.entryText(), "42.");
    EXPECT_EQ(c.state().LastOp, "Add");
    EXPECT_EQ(c.state().PendingOp, "");
}

TEST(Equals, RepeatedEqualsAddsTheSecondOperandAgain)
{
    Calculator c;
    keyscript::play(c, "SHOW 12 + 30 = =");
    EXPECT_EQ(c.entryText(), "72.");
    keyscript::play(c, "=");
    EXPECT_EQ(c.entryText(), "102.");
    const Lines tape = texts::tapeLines(c);
    ASSERT_EQ(tape.size(), 14u);
    EXPECT_EQ(Lines(tape.begin() + 4, tape.begin() + 9),
        (Lines{"", col25("", "42"), col25(texts::kPlus, "30"), kSeparator, result("72")}));
    EXPECT_EQ(c.state().MarkIndex, 13);
}

TEST(Equals, NewNumberAfterResultTakesThePlaceOfTheFirstOperand)
{
    Calculator c;
    keyscript::play(c, "SHOW 12 + 30 = 5 =");
    EXPECT_EQ(c.entryText(), "35.");
}

TEST(Equals, ChainingHasNoPrecedence)
{
    Calculator c;
    keyscript::play(c, "SHOW 2 + 3 *");
    EXPECT_EQ(c.entryText(), "5.");
    EXPECT_TRUE(c.hintLine().starts_with(texts::kEqualHintStart));
    EXPECT_EQ(c.state().PendingOp, "Multi");
    keyscript::play(c, "4 =");
    EXPECT_EQ(c.entryText(), "20.");
    EXPECT_EQ(texts::tapeLines(c),
        (Lines{col25("", "2"), col25(texts::kPlus, "3"), kSeparator, result("5"), "", col25("", "5"),
            col25(texts::kTimes, "4"), kSeparator, result("20")}));
}

struct FlowCase {
    const char* name;
    const char* script;
    const char* entry;
};

class Flows : public testing::TestWithParam<FlowCase> {};

TEST_P(Flows, ShowTheResult)
{
    Calculator c;
    keyscript::play(c, GetParam().script);
    EXPECT_EQ(c.entryText(), GetParam().entry);
}

INSTANTIATE_TEST_SUITE_P(Rows, Flows,
    testing::Values(FlowCase{"EqualsTakesTheShownOperand", "SHOW 2 + =", "4."},
        FlowCase{"OperatorTwiceAddsTheShownOperand", "SHOW 2 + +", "4."},
        FlowCase{"Subtraction", "SHOW 10 - 4 =", "6."}, FlowCase{"Quarter", "SHOW 1 / 4 =", "0.25"},
        FlowCase{"Third", "SHOW 1 / 3 =", "0.333333333333333"},
        FlowCase{"RepeatedEqualsUsesTheShownDigits", "SHOW 1 / 3 = =", "0.111111111111111"},
        FlowCase{"ChainKeepsFullPrecision", "SHOW 1 / 3 * 3 =", "1."},
        FlowCase{"MinusZeroDividesByZero", "SHOW 8 / 0 +/- =", "0."},
        FlowCase{"ChainedDivisionByZeroKeepsTheFirstOperand", "SHOW 8 / 0 / 2 =", "4."},
        FlowCase{"ClearForgetsTheLastOperation", "SHOW 2 + 3 = C 7 =", "7."},
        FlowCase{"TaxKeyForgetsTheLastOperation", "SHOW 2 + 3 = TAX =", "5."},
        FlowCase{"NegativeResult", "SHOW 3 - 5 =", "-2."},
        // The 5 replaces the 20-byte result instead of being refused.
        FlowCase{"SecondOperandAfterLongResult", "SHOW 1 / 3000 = + 5 =", "5.00033333333333"},
        FlowCase{"FirstOperandAfterLongResult", "SHOW 1 / 3000 = 7 + 5 =", "12."}),
    RowName());

TEST(Equals, WithNoOperationOnAnEmptyTape)
{
    Calculator c;
    keyscript::play(c, "SHOW 7 =");
    EXPECT_EQ(texts::tapeLines(c), (Lines{kSeparator, result("7")}));
    EXPECT_EQ(c.entryText(), "7.");
}

TEST(Equals, WithNoOperationAfterAResultWritesTheLineWithoutSymbol)
{
    Calculator c;
    keyscript::play(c, "SHOW 7 = 7 =");
    EXPECT_EQ(texts::tapeLines(c),
        (Lines{kSeparator, result("7"), "", col25("", "7"), texts::blanks(22) + "0", kSeparator, result("7")}));
}

TEST(Operator, OperandLineKeepsTheEntryAsTyped)
{
    Calculator c;
    keyscript::play(c, "SHOW 0.50 + 2 = = 8 +/- - 5 +/- =");
    const Lines tape = texts::tapeLines(c);
    EXPECT_EQ(tape[0], col25("", "0.50"));
    EXPECT_EQ(tape[5], col25("", "2.5"));
    EXPECT_EQ(tape[10], col25("", "-8"));
    EXPECT_EQ(tape[11], col25(texts::kMinus, "-5"));
    EXPECT_EQ(c.entryText(), "-3.");
}

TEST(DivisionByZero, RemovesOnlyTheFailedCalculation)
{
    Calculator c;
    keyscript::play(c, "SHOW 12 + 30 = 8 / 0 =");
    EXPECT_EQ(texts::tapeLines(c), (Lines{col25("", "12"), col25(texts::kPlus, "30"), kSeparator, result("42")}));
    EXPECT_EQ(c.entryText(), "0.");
    EXPECT_EQ(c.state().MarkIndex, 3);
    EXPECT_EQ(c.tape().selected(), -1);
    EXPECT_EQ(c.state().LastOp, "Div");
    EXPECT_EQ(c.state().FirstOperand, 8);
    keyscript::play(c, "=");
    EXPECT_EQ(c.tape().count(), 4u);
    EXPECT_EQ(c.state().MarkIndex, 3);
}

TEST(DivisionByZero, OnAnEmptyTapeLeavesItEmpty)
{
    Calculator c;
    keyscript::play(c, "SHOW 8 / 0 =");
    EXPECT_EQ(c.tape().count(), 0u);
    EXPECT_EQ(c.state().MarkIndex, -1);
    keyscript::play(c, "=");
    EXPECT_EQ(c.tape().count(), 0u);
    EXPECT_EQ(c.state().MarkIndex, -1);
}

TEST(DivisionByZero, KeepsAReportAndItsClosingSeparator)
{
    // Rate key on 0., then divide, divide, plus: the rate block stays whole.
    Calculator c;
    keyscript::play(c, "SHOW RATE / / +");
    const Lines rateBlock{kSeparator, std::string(texts::kRateSetLabel) + texts::blanks(8) + "0.00%", kSeparator};
    EXPECT_EQ(texts::tapeLines(c), rateBlock);
    EXPECT_EQ(c.state().MarkIndex, 2);
    EXPECT_EQ(c.tape().selected(), -1);
    EXPECT_EQ(c.state().PendingOp, "Add");
    keyscript::play(c, "4 =");
    EXPECT_EQ(c.entryText(), "4.");
}

TEST(DivisionByZero, AfterAReportPutsItsClosingSeparatorBack)
{
    // The chained reset leaves ÷ pending with no block of its own; the next
    // equals replaces the report's closing separator, which must come back.
    Calculator c;
    keyscript::play(c, "SHOW 17 TAX 8 / 0 /");
    const Lines report = texts::tapeLines(c);
    ASSERT_EQ(report.size(), 6u);
    keyscript::play(c, "0 =");
    EXPECT_EQ(texts::tapeLines(c), report);
    EXPECT_EQ(c.state().MarkIndex, 5);
    EXPECT_EQ(c.tape().selected(), -1);
}

TEST(DivisionByZero, AfterAChainedResetKeepsEarlierBlocks)
{
    Calculator c;
    keyscript::play(c, "SHOW 5 + 5 = 8 / 0 / 0 =");
    EXPECT_EQ(texts::tapeLines(c), (Lines{col25("", "5"), col25(texts::kPlus, "5"), kSeparator, result("10")}));
    EXPECT_EQ(c.state().MarkIndex, 3);
}

TEST(DivisionByZero, AfterShowDroppedThePendingOperation)
{
    // Show drops the pending ＋; equals then repeats the division by zero on
    // the shown 0, replacing the lone ＋ line, which comes back at the end.
    Calculator c;
    keyscript::play(c, "SHOW 12 + 30 = 1 / 0 = 5 + SHOW");
    const Lines before = texts::tapeLines(c);
    ASSERT_EQ(before.size(), 7u);
    keyscript::play(c, "=");
    EXPECT_EQ(texts::tapeLines(c), before);
    EXPECT_EQ(c.state().MarkIndex, 6);
    EXPECT_EQ(c.tape().selected(), -1);
}

TEST(Overflow, ResetForgetsTheCalculation)
{
    Calculator c;
    c.setValue(1e4000_x);
    keyscript::play(c, "SHOW * =");
    EXPECT_EQ(texts::tapeLines(c),
        (Lines{col25("", "1E4000"), col25(texts::kTimes, "1E4000"), kSeparator, texts::kOverflowLine}));
    EXPECT_EQ(c.entryText(), "0.");
    EXPECT_EQ(c.state().MarkIndex, 3);
    EXPECT_EQ(c.tape().selected(), 3);
    EXPECT_EQ(c.state().LastOp, "");
    EXPECT_EQ(c.state().FirstOperand, 0);
    EXPECT_EQ(c.state().SecondOperand, 0);
    keyscript::play(c, "=");
    EXPECT_EQ(texts::tapeLines(c).at(6), texts::blanks(22) + "0");
}

TEST(ShownExponent, SingleDigitExponentReadsBack)
{
    Calculator c;
    keyscript::play(c, "SHOW 1 * 10000000000 = * 10000000000 =");
    EXPECT_EQ(c.entryText(), "1E20.");
    keyscript::play(c, "+ 1 =");
    EXPECT_EQ(c.entryText(), "1E20.");
    EXPECT_EQ(c.state().FirstOperand, 1e20_x + 1);
    keyscript::play(c, "+/- MS");
    EXPECT_EQ(c.state().MemoryValue, -1e20_x);
}

TEST(ShownExponent, ExponentWithoutDigitsReadsAsExponentZero)
{
    Calculator c;
    c.setValue(1e20_x);
    keyscript::play(c, "SHOW BS BS");
    ASSERT_EQ(c.entryText(), "1E.");
    keyscript::play(c, "+ 1 =");
    EXPECT_EQ(c.entryText(), "2.");
    Calculator d;
    d.setValue(1e-5_x);
    keyscript::play(d, "SHOW BS");
    ASSERT_EQ(d.entryText(), "1E-.");
    keyscript::play(d, "=");
    EXPECT_EQ(d.entryText(), "1.");
}

TEST(ShownExponent, UnreadableTextQuotesTheWholeEntry)
{
    Calculator c;
    c.setValue(1e20_x);
    keyscript::play(c, "SHOW . SHOW BS 5");
    ASSERT_EQ(c.entryText(), "1E2.5");
    try {
        keyscript::play(c, "=");
        FAIL() << "expected a conversion error";
    } catch (const calc::EConvertError& e) {
        EXPECT_EQ(e.message(), "'1E2.5' is not a valid floating point value");
    }
}

TEST(ConversionError, ChainedOperatorKeepsThePendingOperation)
{
    Calculator c;
    c.setValue(1e4932_x);
    keyscript::play(c, "SHOW MS M+ 2 + MR");
    ASSERT_EQ(c.entryText(), "INF.");
    const Lines before = texts::tapeLines(c);
    EXPECT_THROW(keyscript::play(c, "*"), calc::EConvertError);
    EXPECT_TRUE(c.hintLine().starts_with(texts::kEqualHintStart));
    EXPECT_EQ(c.state().PendingOp, "Add");
    EXPECT_EQ(c.state().LastOp, "");
    EXPECT_EQ(texts::tapeLines(c), before);
}

TEST(LongResult, ResultLineHoldsTheWholeText)
{
    Calculator c;
    c.setValue(-1.23456789012345e-1000_x);
    keyscript::play(c, "SHOW * CE 1 =");
    const std::string shown = c.entryText();
    ASSERT_EQ(shown, "-1.23456789012345E-1000");
    ASSERT_GT(shown.size(), 21u);
    EXPECT_EQ(texts::tapeLines(c).back(), std::string(texts::kResult) + shown);
    keyscript::play(c, "PICK");
    EXPECT_EQ(c.value(), calc::ParseNumber(shown));
}

} // namespace
