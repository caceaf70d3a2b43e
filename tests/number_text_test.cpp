#include "calc/Exception.h"
#include "calc/NumberText.h"
#include "tests/ExtendedLiteral.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

using namespace calc;

namespace {

Extended fromBits(std::uint16_t signExponent, std::uint64_t significand) { return {signExponent, significand}; }

struct TextCase {
    const char* name;
    Extended x;
    const char* text;
};

constexpr Extended kMax = Extended::largest();
constexpr Extended kInf = Extended::infinity();

// ---- GeneralText -----------------------------------------------------------

class GeneralTexts : public testing::TestWithParam<TextCase> {};

TEST_P(GeneralTexts, WritesTheText) { EXPECT_EQ(GeneralText(GetParam().x), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Rows, GeneralTexts,
    testing::Values(TextCase{"OneThird", 1.0_x / 3, "0.333333333333333"},
        TextCase{"TwoThirdsRoundsUp", 2.0_x / 3, "0.666666666666667"},
        TextCase{"MinusTwoThirds", -2.0_x / 3, "-0.666666666666667"},
        TextCase{"TenThirds", 10.0_x / 3, "3.33333333333333"}, TextCase{"PointOnePlusPointTwo", 0.1_x + 0.2_x, "0.3"},
        TextCase{"Zero", 0.0_x, "0"}, TextCase{"NegativeZero", -0.0_x, "0"}, TextCase{"Hundred", 100.0_x, "100"},
        TextCase{"MinusFortyTwo", -42.0_x, "-42"}, TextCase{"TwelveAndAHalf", 12.5_x, "12.5"},
        TextCase{"SmallestPlainForm", 0.0001_x, "0.0001"}, TextCase{"SmallPlainForm", 0.00012345_x, "0.00012345"},
        TextCase{"FirstExponentBelow", 0.00001_x, "1E-5"}, TextCase{"NegativeExponent", 1.5e-7_x, "1.5E-7"},
        TextCase{"TenToFourteen", 1e14_x, "100000000000000"},
        TextCase{"HalfRoundsUpAt15Digits", 100000000000000.5_x, "100000000000001"},
        TextCase{"RoundsUpIntoExponentForm", 999999999999999.5_x, "1E15"}, TextCase{"TenToFifteen", 1e15_x, "1E15"},
        TextCase{"TenToTwenty", 1e20_x, "1E20"}, TextCase{"SixteenDigits", 1234567890123456.0_x, "1.23456789012346E15"},
        TextCase{"EighteenDigits", 123456789012345678.0_x, "1.23456789012346E17"}, TextCase{"Googol", 1e100_x, "1E100"},
        TextCase{"Largest", kMax, "1.18973149535723E4932"},
        TextCase{"SmallestNormal", Extended::smallestNormal(), "3.36210314311209E-4932"},
        TextCase{"Subnormal", Extended::smallestDenormal(), "0"},
        TextCase{"NegativeSubnormal", -Extended::smallestDenormal() * 1000, "0"}, TextCase{"Infinity", kInf, "INF"},
        TextCase{"NegativeInfinity", -kInf, "-INF"}, TextCase{"NaN", Extended::defaultNaN(), "NAN"},
        TextCase{"NegativeNaN", -Extended::defaultNaN(), "NAN"},
        // The 18-digit form ...9995 rounds half up at 15 digits.
        TextCase{"HalfUpAfterEighteenDigits", 0.1234567890123455_x, "0.123456789012346"},
        TextCase{"ThreeZerosAfterPoint", -0.000999999999999999_x, "-0.000999999999999999"},
        TextCase{"CarryIntoFourZeros", 0.00009999999999999999_x, "0.0001"}),
    RowName());

// ---- FixedText -------------------------------------------------------------

struct FixedCase {
    const char* name;
    Extended x;
    int digits;
    const char* text;
};

class FixedTexts : public testing::TestWithParam<FixedCase> {};

TEST_P(FixedTexts, WritesTheText) { EXPECT_EQ(FixedText(GetParam().x, GetParam().digits), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Rows, FixedTexts,
    testing::Values(FixedCase{"Seventeen", 17, 12, "17.00"}, FixedCase{"Zero", 0, 12, "0.00"},
        FixedCase{"SmallNegativeHasNoSign", -0.001_x, 12, "0.00"}, FixedCase{"HalfCentUp", 0.005_x, 12, "0.01"},
        FixedCase{"NegativeHalfCentAway", -0.005_x, 12, "-0.01"}, FixedCase{"DecimalTieNotBinary", 2.675_x, 12, "2.68"},
        FixedCase{"BelowTie", 1234.994_x, 12, "1234.99"}, FixedCase{"TieOfEighteenDigits", 1234.995_x, 12, "1235.00"},
        FixedCase{"NegativeTie", -1234.995_x, 12, "-1235.00"}, FixedCase{"Thousands", 11700, 12, "11700.00"},
        FixedCase{"OneDecimalLeft", 12345678901.234_x, 12, "12345678901.20"},
        FixedCase{"NoDecimalLeft", 123456789012.34_x, 12, "123456789012.00"},
        FixedCase{"RoundsIntoExponent", 999999999999.99_x, 12, "1E12"}, FixedCase{"TenToTwelve", 1e12_x, 12, "1E12"},
        FixedCase{"ThirteenDigits", 1234567890123.45_x, 12, "1.23456789012E12"},
        FixedCase{"TenToThirteen", 1e13_x, 12, "1E13"}, FixedCase{"ThreeDigitExponent", 1e100_x, 12, "1E100"},
        FixedCase{"NegativeExponentForm", -1.5e20_x, 12, "-1.5E20"},
        // Half up at twelve digits: the text lies above the largest value and so
        // is one of the few written texts that do not read back.
        FixedCase{"Largest", kMax, 12, "1.18973149536E4932"}, FixedCase{"Infinity", kInf, 12, "INF"},
        FixedCase{"NaN", Extended::defaultNaN(), 12, "NAN"},
        FixedCase{"Subnormal", Extended::smallestDenormal(), 12, "0.00"}, FixedCase{"P4Seventeen", 17, 4, "17.00"},
        FixedCase{"P4Eighth", 6.125_x, 4, "6.13"}, FixedCase{"P4TwoDecimals", 12.345_x, 4, "12.35"},
        FixedCase{"P4CarryToHundred", 99.995_x, 4, "100.00"}, FixedCase{"P4OneDecimal", 123.456_x, 4, "123.50"},
        FixedCase{"P4RoundsIntoExponent", 9999.5_x, 4, "1E04"}, FixedCase{"P4TwoDigitExponent", 11700, 4, "1.17E04"},
        FixedCase{"P4NegativeExponentForm", -11700, 4, "-1.17E04"}, FixedCase{"P4FourDigits", 12345, 4, "1.235E04"},
        FixedCase{"CentsOnly", 0.07_x, 12, "0.07"}, FixedCase{"TenthOnly", 0.1_x, 12, "0.10"},
        FixedCase{"P18KeepsAllDigits", 0.125_x, 18, "0.13"},
        // 1e18 + 5 and 1e18 + 15 are exact; their 18-digit forms are ties, rounded to even.
        FixedCase{"P18TieToEvenDown", 1000000000000000005.0_x, 18, "1E18"},
        FixedCase{"P18TieToEvenUp", 1000000000000000015.0_x, 18, "1.00000000000000002E18"}),
    RowName());

// ---- ParseNumber -----------------------------------------------------------

struct ParseCase {
    const char* name;
    std::string text;
    Extended value;
};

class ParsedNumbers : public testing::TestWithParam<ParseCase> {};

TEST_P(ParsedNumbers, ReadsTheValue)
{
    const Extended value = ParseNumber(GetParam().text);
    EXPECT_EQ(value, GetParam().value);
    EXPECT_EQ(value.negative(), GetParam().value.negative());
}

INSTANTIATE_TEST_SUITE_P(Rows, ParsedNumbers,
    testing::Values(ParseCase{"IntegerEntry", "12.", 12}, ParseCase{"ZeroEntry", "0.", 0},
        ParseCase{"PointAlone", ".", 0}, ParseCase{"MinusPointIsNegativeZero", "-.", -0.0_x},
        ParseCase{"MinusZero", "-0", -0.0_x}, ParseCase{"BlanksAtBothEnds", " 12 ", 12}, ParseCase{"PlusSign", "+5", 5},
        ParseCase{"FixedExponentForm", "1.17E04", 11700}, ParseCase{"NegativeExponent", "1.5E-7", 1.5e-7_x},
        ParseCase{"LowerCaseE", "1e3", 1000}, ParseCase{"EWithoutDigits", "1E", 1},
        ParseCase{"ESignWithoutDigits", "1E-", 1}, ParseCase{"ExponentAtTheStop", "1E500", 1e500_x},
        ParseCase{"LeadingZerosInExponent", "1E0000000000003", 1000},
        ParseCase{"ManyFractionDigits", "0.10000000000000000000000000000000000001", 0.1_x},
        ParseCase{"LargestFinite", "1.18973149535723176502E4932", kMax},
        // Above the largest value, yet nearer to it than to the next step.
        ParseCase{"RoundsDownToLargest", "1.18973149535723176505E4932", kMax},
        ParseCase{"UnderflowsToZero", "1E-4999", 0}, ParseCase{"NegativeUnderflow", "-1E-4999", -0.0_x},
        ParseCase{"Subnormal", "3.6451995318824746025E-4951", Extended::smallestDenormal()},
        ParseCase{"NearestLikeTheCompiler", "1234.995", 1234.995_x}),
    RowName());

struct BadText {
    const char* name;
    std::string text;
};

class RefusedTexts : public testing::TestWithParam<BadText> {};

TEST_P(RefusedTexts, RaisesConvertErrorQuotingTheText)
{
    const std::string& text = GetParam().text;
    try {
        ParseNumber(text);
        FAIL() << "accepted '" << text << "'";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.message(), "'" + text + "' is not a valid floating point value");
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedTexts,
    testing::Values(BadText{"Empty", ""}, BadText{"OnlyBlanks", "   "}, BadText{"SignAlone", "-"},
        BadText{"BlankAfterSign", "- 5"}, BadText{"PointAfterExponent", "1E20."}, BadText{"Comma", "1,5"},
        BadText{"BlankInside", "12 3"}, BadText{"LeadingTab", "\t12"}, BadText{"TrailingNewline", "12\n"},
        BadText{"TooLarge", "1E4999"}, BadText{"ExponentStopsAt500", "1E5000"},
        BadText{"RoundsToInfinity", "1.189731495357231765085E4932"}, BadText{"TwoPoints", "1.2.3"},
        BadText{"ExponentWithoutMantissa", "E5"}, BadText{"TwoSigns", "+-1"}, BadText{"Infinity", "INF"},
        BadText{"Hexadecimal", "0x10"},
        BadText{"ChineseText", "\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!"}, // 数字超范围!
        BadText{"FullWidthDigit", "\xA3\xB1"}, // １
        // Found by the rational models: just beyond the largest value.
        BadText{"HalfwayAboveLargest", "1.189731495357231765085759326628007E4932"},
        BadText{"TwentyDigitsAboveLargest", "1.1897314953572317651E4932"}, BadText{"TenToThe4933", "1E4933"},
        BadText{"LargestFixedText", "1.18973149536E4932"}),
    RowName());

TEST(ParseNumber, MessageKeepsBlanksOfTheText)
{
    try {
        ParseNumber(" 1 2 ");
        FAIL();
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "' 1 2 ' is not a valid floating point value");
    }
}

// ---- The column helpers ----------------------------------------------------

TEST(TrimTrailingPoint, DropsOnlyAFinalPoint)
{
    EXPECT_EQ(TrimTrailingPoint("12."), "12");
    EXPECT_EQ(TrimTrailingPoint("0."), "0");
    EXPECT_EQ(TrimTrailingPoint("."), "0");
    EXPECT_EQ(TrimTrailingPoint("-."), "-");
    EXPECT_EQ(TrimTrailingPoint("12.5"), "12.5");
    EXPECT_EQ(TrimTrailingPoint("42"), "42");
    EXPECT_EQ(TrimTrailingPoint(""), "");
}

TEST(AlignRight, PadsToTwentyFiveBytes)
{
    EXPECT_EQ(AlignRight("42"), std::string(23, ' ') + "42");
    EXPECT_EQ(AlignRight("-0.666666666666667"), std::string(7, ' ') + "-0.666666666666667");
    const std::string chinese = "\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!"; // 数字超范围!
    EXPECT_EQ(AlignRight(chinese), std::string(14, ' ') + chinese);
    EXPECT_EQ(AlignRight(std::string(24, 'x')), " " + std::string(24, 'x'));
    EXPECT_EQ(AlignRight(""), "");
    EXPECT_EQ(AlignRight(std::string(25, 'x')), "");
}

TEST(TrimBlanks, DropsControlBytesAtTheEndsOnly)
{
    EXPECT_EQ(TrimBlanks("  12.5  "), "12.5");
    EXPECT_EQ(TrimBlanks("\t42\r\n"), "42");
    EXPECT_EQ(TrimBlanks(std::string("\0 7 \0", 5)), "7");
    EXPECT_EQ(TrimBlanks(" 1 2 "), "1 2");
    EXPECT_EQ(TrimBlanks(" \x01\x1F "), "");
    EXPECT_EQ(TrimBlanks("\xA1\xA1"
                         "5 "),
        "\xA1\xA1"
        "5"); // full-width blank stays
}

// ---- Round trip ------------------------------------------------------------

// Random canonical extended values: every exponent, plus the range that
// people type, where the decimal cuts matter most.
Extended randomExtended(std::mt19937_64& rng)
{
    const std::uint64_t bits = rng();
    const auto sign = static_cast<std::uint16_t>((bits & 1) << 15);
    std::uint16_t exponent = 0;
    if ((bits >> 1) % 2 == 0) {
        exponent = static_cast<std::uint16_t>(16383 - 80 + static_cast<int>((bits >> 2) % 160));
    } else {
        // The lowest and highest exponents are left out: near the smallest
        // normal a text can round below it (and read back as subnormal),
        // near the largest value above it (and not read back at all).
        exponent = static_cast<std::uint16_t>(2 + (bits >> 2) % 0x7FFC);
    }
    return fromBits(sign | exponent, rng() | (std::uint64_t{1} << 63));
}

TEST(RoundTrip, WrittenTextsReadBackToTheSameText)
{
    std::mt19937_64 rng(20261208);
    for (int i = 0; i < 200000; ++i) {
        const Extended x = randomExtended(rng);
        const std::string general = GeneralText(x);
        ASSERT_EQ(GeneralText(ParseNumber(general)), general) << general;
        for (const int digits : {4, 12, 18}) {
            const std::string fixed = FixedText(x, digits);
            ASSERT_EQ(FixedText(ParseNumber(fixed), digits), fixed) << fixed;
        }
    }
}

// Every power of ten the format holds in normal form, both signs: read as
// "1E<e>", written in general form, read back to the same value.
TEST(AllPowersOfTen, ReadWriteAndReadBack)
{
    for (int e = -4931; e <= 4931; ++e) {
        const std::string exponentForm = "1E" + std::to_string(e);
        std::string general = exponentForm;
        if (e >= 0 && e <= 14) {
            general = "1" + std::string(static_cast<std::size_t>(e), '0');
        } else if (e < 0 && e >= -4) {
            general = "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + "1";
        }
        const Extended x = ParseNumber(exponentForm);
        ASSERT_EQ(GeneralText(x), general) << exponentForm;
        ASSERT_EQ(ParseNumber(general), x) << general;
        ASSERT_EQ(ParseNumber("-" + exponentForm), -x) << exponentForm;
        ASSERT_EQ(GeneralText(-x), "-" + general) << exponentForm;
        if (e > -4931) {
            ASSERT_LT(ParseNumber("1E" + std::to_string(e - 1)), x) << exponentForm;
        }
    }
}

// Cases the rational models and the fuzzers have found, kept as they were
// settled: the two ends of the range, bit patterns no arithmetic makes, and
// decimal ties that rounding the binary value would get wrong.
struct RegressionCase {
    const char* name;
    Extended x;
    const char* general;
    // GeneralText of the general text read back; nullptr: it does not read.
    const char* generalReadBack;
    const char* fixed12;
};

class Regression : public testing::TestWithParam<RegressionCase> {};

TEST_P(Regression, KeepsItsTexts)
{
    const RegressionCase& c = GetParam();
    EXPECT_EQ(GeneralText(c.x), c.general);
    EXPECT_EQ(FixedText(c.x, 12), c.fixed12);
    if (c.generalReadBack == nullptr) {
        EXPECT_THROW(ParseNumber(c.general), EConvertError);
    } else {
        EXPECT_EQ(GeneralText(ParseNumber(c.general)), c.generalReadBack);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Regression,
    testing::Values(
        // Fifteen digits round below the smallest normal: read back, a subnormal.
        RegressionCase{
            "SmallestNormalReadsBackAsSubnormal", Extended::smallestNormal(), "3.36210314311209E-4932", "0", "0.00"},
        RegressionCase{
            "AboveSmallestNormal", fromBits(0x0001, 0x8000000000000001), "3.36210314311209E-4932", "0", "0.00"},
        // Twelve digits half up lie above the largest value.
        RegressionCase{"LargestFixedDoesNotReadBack", kMax, "1.18973149535723E4932", "1.18973149535723E4932",
            "1.18973149536E4932"},
        RegressionCase{"Unnormal", fromBits(0x3FFF, 0x4000000000000000), "NAN", nullptr, "NAN"},
        RegressionCase{"PseudoDenormal", fromBits(0x0000, 0x8000000000000000), "0", "0", "0.00"},
        RegressionCase{"PseudoInfinity", fromBits(0x7FFF, 0), "INF", nullptr, "INF"},
        RegressionCase{"NegativePseudoInfinity", fromBits(0xFFFF, 0), "-INF", nullptr, "-INF"},
        RegressionCase{"NaNWithSignBit", fromBits(0xFFFF, 0xC000000000000000), "NAN", nullptr, "NAN"},
        RegressionCase{"TieOfEighteenDigitsToEven", 1000000000000000005.0_x, "1E18", "1E18", "1E18"},
        RegressionCase{"DecimalTieNotBinary", 1234.995_x, "1234.995", "1234.995", "1235.00"},
        RegressionCase{"CarryIntoFourZeros", 0.00009999999999999999_x, "0.0001", "0.0001", "0.00"},
        RegressionCase{
            "HalfUpOnEighteenDigits", 0.1234567890123455_x, "0.123456789012346", "0.123456789012346", "0.12"}),
    RowName());

struct ParseRegressionCase {
    const char* name;
    const char* text;
    std::uint16_t signExponent;
    std::uint64_t significand;
};

class ParseRegression : public testing::TestWithParam<ParseRegressionCase> {};

TEST_P(ParseRegression, ReadsTheNearestValue)
{
    const Extended x = ParseNumber(GetParam().text);
    const Extended want = fromBits(GetParam().signExponent, GetParam().significand);
    EXPECT_TRUE(x.identical(want)) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Rows, ParseRegression,
    testing::Values(ParseRegressionCase{"Largest", "1.18973149535723176502E4932", 0x7FFE, ~std::uint64_t{0}},
        ParseRegressionCase{"AboveLargestNearerToIt", "1.18973149535723176505E4932", 0x7FFE, ~std::uint64_t{0}},
        ParseRegressionCase{"SmallestNormal", "3.3621031431120935063E-4932", 0x0001, 0x8000000000000000},
        ParseRegressionCase{"SmallestSubnormal", "3.6451995318824746025E-4951", 0x0000, 1},
        ParseRegressionCase{"HalfTheSmallestTiesToZero", "1.8225997659412373012E-4951", 0x0000, 0},
        ParseRegressionCase{"AboveHalfTheSmallest", "1.8225997659412373013E-4951", 0x0000, 1},
        ParseRegressionCase{"SmallestNormalWrittenShort", "3.36210314311209E-4932", 0x0000, 0x7FFFFFFFFFFFDA6D},
        ParseRegressionCase{"NegativeUnderflowKeepsTheSign", "-1E-4952", 0x8000, 0}),
    RowName());

TEST(RoundTrip, SpecialValuesDoNotReadBack)
{
    for (const Extended x : {kInf, -kInf, Extended::defaultNaN()}) {
        EXPECT_THROW(ParseNumber(GeneralText(x)), EConvertError);
    }
}

TEST(NonCanonical, OddEncodingsNeverFail)
{
    // Bit patterns arithmetic never produces: any text will do, no crash.
    const Extended unnormal = fromBits(0x3FFF, 0x4000000000000000);
    const Extended pseudoDenormal = fromBits(0x0000, 0x8000000000000000);
    const Extended pseudoInfinity = fromBits(0x7FFF, 0);
    for (const Extended x : {unnormal, pseudoDenormal, pseudoInfinity}) {
        EXPECT_FALSE(GeneralText(x).empty());
        EXPECT_FALSE(FixedText(x, 12).empty());
    }
    EXPECT_EQ(GeneralText(pseudoDenormal), "0");
}

} // namespace
