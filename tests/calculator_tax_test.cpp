#include "TapeTexts.h"
#include "tests/ExtendedLiteral.h"
#include "tools/KeyScript.h"

#include "calc/Exception.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using calc::Calculator;
using texts::kSeparator;
using Lines = std::vector<std::string>;

namespace {

std::string line(std::string_view label, std::string_view amount) { return std::string(label) + std::string(amount); }
std::string taxLine(std::string_view a) { return line(texts::kTaxLabel, a); }
std::string rateLine(std::string_view a) { return line(texts::kRateLabel, a); }
std::string priceLine(std::string_view a) { return line(texts::kPriceLabel, a); }
std::string totalLine(std::string_view a) { return line(texts::kTotalLabel, a); }
std::string rateSetLine(std::string_view rate)
{
    return line(texts::kRateSetLabel, texts::blanks(13 - rate.size()) + std::string(rate));
}

struct ReportCase {
    const char* name;
    const char* script;
    Lines block; // the last block on the tape, without its empty line
};

class Reports : public testing::TestWithParam<ReportCase> {};

TEST_P(Reports, WriteTheirBlock)
{
    Calculator c;
    keyscript::play(c, GetParam().script);
    const Lines tape = texts::tapeLines(c);
    const Lines& block = GetParam().block;
    ASSERT_GE(tape.size(), block.size());
    EXPECT_EQ(Lines(tape.end() - static_cast<std::ptrdiff_t>(block.size()), tape.end()), block);
    EXPECT_EQ(c.state().MarkIndex, static_cast<int>(tape.size()) - 1);
    EXPECT_EQ(c.tape().selected(), static_cast<std::ptrdiff_t>(tape.size()) - 1);
    if (tape.size() > block.size()) {
        EXPECT_EQ(tape[tape.size() - block.size() - 1], "");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Reports,
    testing::Values(
        ReportCase{"TaxAtSeventeen", "SHOW 17 TAX",
            {kSeparator, taxLine("17.00"), rateLine("17.00%"), priceLine("100.00"), totalLine("117.00"), kSeparator}},
        ReportCase{"PriceRoundsHalfUp", "SHOW 100.47 PRICE",
            {kSeparator, priceLine("100.47"), rateLine("17.00%"), taxLine("17.08"), totalLine("117.55"), kSeparator}},
        ReportCase{"PriceOfTenThousand", "SHOW 17 TAX 10000 PRICE",
            {kSeparator, priceLine("10000.00"), rateLine("17.00%"), taxLine("1700.00"), totalLine("11700.00"),
                kSeparator}},
        ReportCase{"Total", "SHOW 117 TOTAL",
            {kSeparator, totalLine("117.00"), rateLine("17.00%"), priceLine("100.00"), taxLine("17.00"), kSeparator}},
        ReportCase{"ZeroEntry", "SHOW TAX",
            {kSeparator, taxLine("0.00"), rateLine("17.00%"), priceLine("0.00"), totalLine("0.00"), kSeparator}},
        ReportCase{"MinusZeroPasses", "SHOW +/- PRICE",
            {kSeparator, priceLine("0.00"), rateLine("17.00%"), taxLine("0.00"), totalLine("0.00"), kSeparator}},
        ReportCase{"RateZero", "SHOW RATE", {kSeparator, rateSetLine("0.00%"), kSeparator}},
        ReportCase{"TaxAtZeroRate", "SHOW RATE 5 TAX",
            {kSeparator, taxLine("5.00"), std::string(texts::kZeroRate), std::string(texts::kNoPrice), kSeparator}},
        ReportCase{"PriceAtZeroRate", "SHOW RATE 5 PRICE",
            {kSeparator, priceLine("5.00"), rateLine("0.00%"), taxLine("0.00"), totalLine("5.00"), kSeparator}},
        ReportCase{"TotalAtZeroRate", "SHOW RATE 5 TOTAL",
            {kSeparator, totalLine("5.00"), rateLine("0.00%"), priceLine("5.00"), taxLine("0.00"), kSeparator}},
        ReportCase{"RateJustBelowHundred", "SHOW 99.999 RATE", {kSeparator, rateSetLine("100.00%"), kSeparator}},
        ReportCase{"RateWithHalf", "SHOW 17.5 RATE", {kSeparator, rateSetLine("17.50%"), kSeparator}},
        ReportCase{"TinyRateIsNoZeroRate", "SHOW 0.001 RATE 1 TAX",
            {kSeparator, taxLine("1.00"), rateLine("0.00%"), priceLine("100000.00"), totalLine("100001.00"),
                kSeparator}},
        ReportCase{"TwelveDigitsLoseTheirDecimals", "SHOW 100000000000.5 PRICE",
            {kSeparator, priceLine("100000000001.00"), rateLine("17.00%"), taxLine("17000000000.10"),
                totalLine("117000000001.00"), kSeparator}},
        ReportCase{"TeraPriceInScientificForm", "SHOW 1000000000000 PRICE",
            {kSeparator, priceLine("1E12"), rateLine("17.00%"), taxLine("170000000000.00"), totalLine("1.17E12"),
                kSeparator}}),
    RowName());

TEST(RateKey, SetsRateAndDisplay)
{
    Calculator c;
    keyscript::play(c, "SHOW 99.999 RATE");
    EXPECT_EQ(c.rateCaption(), "100.00%");
    EXPECT_EQ(c.state().TaxRate, 99.999_x);
    keyscript::play(c, "100 RATE");
    EXPECT_EQ(c.rateCaption(), "100.00%");
    EXPECT_EQ(c.state().TaxRate, 99.999_x);
    EXPECT_EQ(c.tape().count(), 3u);
}

// A caller's start rate reaches the display and every report from the show
// on, as the rate key's would; the tape and the entry line start as without.
TEST(StartRate, EveryReportUsesIt)
{
    Calculator c;
    ASSERT_TRUE(c.setStartRate(13));
    c.setValue(100);
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.rateCaption(), "13.00%");
    EXPECT_EQ(c.state().TaxRate, 13);
    EXPECT_EQ(c.entryText(), "100.");
    EXPECT_EQ(c.tape().count(), 0u);
    keyscript::play(c, "PRICE 13 TAX 113 TOTAL");
    const Lines tape = texts::tapeLines(c);
    EXPECT_EQ(tape,
        (Lines{kSeparator, priceLine("100.00"), rateLine("13.00%"), taxLine("13.00"), totalLine("113.00"), kSeparator,
            "", kSeparator, taxLine("13.00"), rateLine("13.00%"), priceLine("100.00"), totalLine("113.00"), kSeparator,
            "", kSeparator, totalLine("113.00"), rateLine("13.00%"), priceLine("100.00"), taxLine("13.00"),
            kSeparator}));
    // The rate key still sets another; a new show starts at the start rate
    // again, which a refused one leaves as it was.
    keyscript::play(c, "9 RATE");
    EXPECT_EQ(c.rateCaption(), "9.00%");
    EXPECT_FALSE(c.setStartRate(100));
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.rateCaption(), "13.00%");
    EXPECT_EQ(c.state().TaxRate, 13);
}

struct StartRateCase {
    const char* name;
    Extended rate;
    const char* caption; // after a show; "17%" where the rate is refused
};

class StartRates : public testing::TestWithParam<StartRateCase> {};

// The rate key's own range: from 0 to under 100.
TEST_P(StartRates, TakeTheRateKeysRange)
{
    const auto& row = GetParam();
    Calculator c;
    const bool refused = std::string_view(row.caption) == "17%";
    EXPECT_EQ(c.setStartRate(row.rate), !refused);
    EXPECT_EQ(Calculator::acceptsRate(row.rate), !refused);
    keyscript::play(c, "SHOW");
    EXPECT_EQ(c.rateCaption(), row.caption);
    if (!refused) {
        EXPECT_EQ(c.state().TaxRate, row.rate);
    } else {
        EXPECT_EQ(c.state().TaxRate, 17);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, StartRates,
    testing::Values(StartRateCase{"Zero", 0, "0.00%"}, StartRateCase{"Half", 6.5_x, "6.50%"},
        StartRateCase{"Seventeen", 17, "17.00%"}, StartRateCase{"JustBelowHundred", 99.99_x, "99.99%"},
        StartRateCase{"Hundred", 100, "17%"}, StartRateCase{"Negative", -1, "17%"},
        StartRateCase{"Infinite", Extended::infinity(), "17%"}, StartRateCase{"NaN", Extended::defaultNaN(), "17%"}),
    RowName());

TEST(TaxKeys, RefusedEntryStillEndsTheCalculation)
{
    Calculator c;
    keyscript::play(c, "SHOW 5 + 3 +/- TAX");
    EXPECT_EQ(c.entryText(), "-3.");
    EXPECT_EQ(c.tape().count(), 2u);
    EXPECT_EQ(c.state().PendingOp, "");
    EXPECT_EQ(c.state().LastOp, "");
    EXPECT_EQ(c.state().FirstOperand, 0);
    EXPECT_TRUE(c.state().NewEntry);
    keyscript::play(c, "=");
    EXPECT_EQ(c.entryText(), "-3.");
    EXPECT_EQ(texts::tapeLines(c).at(1), texts::blanks(22) + "0");
}

TEST(TaxKeys, EqualsAfterAReportReplacesItsClosingSeparator)
{
    Calculator c;
    keyscript::play(c, "SHOW 17 TAX =");
    const Lines tape = texts::tapeLines(c);
    ASSERT_EQ(tape.size(), 8u);
    EXPECT_EQ(tape[4], totalLine("117.00"));
    EXPECT_EQ(tape[5], texts::blanks(22) + "0");
    EXPECT_EQ(tape[7], texts::col25(texts::kResult, "17"));
}

struct OverflowCase {
    const char* name;
    Extended value;
    const char* script;
};

class TaxOverflow : public testing::TestWithParam<OverflowCase> {};

// Beyond range: the error comes before any line, and nothing ends.
TEST_P(TaxOverflow, WritesNothing)
{
    Calculator c;
    c.setValue(GetParam().value);
    keyscript::play(c, GetParam().script);
    const Lines before = texts::tapeLines(c);
    const std::string pending = c.state().PendingOp;
    try {
        keyscript::play(c, "TAX");
        FAIL() << "expected an overflow";
    } catch (const calc::EOverflow& e) {
        EXPECT_EQ(e.message(), "Floating point overflow");
    }
    EXPECT_EQ(texts::tapeLines(c), before);
    EXPECT_EQ(c.state().PendingOp, pending);
    EXPECT_EQ(c.hintLine().size(), 67u);
}

INSTANTIATE_TEST_SUITE_P(Rows, TaxOverflow,
    testing::Values(OverflowCase{"HugeTax", 1e4932_x, "SHOW MS 2 + MR"},
        OverflowCase{"SmallestNormalRate", 1e-4931_x, "SHOW RATE 1"},
        OverflowCase{"RateFactorRoundsToZero", 1.5e-495_x, ". SHOW 0 RATE 1"},
        OverflowCase{"ZeroOverZero", 1.5e-495_x, ". SHOW 0 RATE 0"}),
    RowName());

TEST(TaxKeys, HugePriceOverflowsInTheTotal)
{
    Calculator c;
    c.setValue(1.1e4932_x);
    keyscript::play(c, "SHOW");
    EXPECT_THROW(keyscript::play(c, "PRICE"), calc::EOverflow);
    EXPECT_EQ(c.tape().count(), 0u);
    EXPECT_NO_THROW(keyscript::play(c, "TOTAL"));
}

} // namespace
