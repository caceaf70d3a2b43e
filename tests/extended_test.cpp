// The extended value's encoding, order and conversions: the same on every
// CPU, whichever backend the core was built with.
#include "tests/ExtendedLiteral.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::string hex20(Extended x)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const std::uint8_t b : x.bytes()) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 0x0F];
    }
    return hex;
}

struct EncodingCase {
    const char* name;
    Extended x;
    const char* hex;
};

class Encodings : public testing::TestWithParam<EncodingCase> {};

TEST_P(Encodings, WritesAndReadsTheBytesInOrder)
{
    EXPECT_EQ(hex20(GetParam().x), GetParam().hex);
    EXPECT_TRUE(Extended::fromBytes(GetParam().x.bytes()).identical(GetParam().x));
}

INSTANTIATE_TEST_SUITE_P(Rows, Encodings,
    testing::Values(EncodingCase{"One", 1, "3fff8000000000000000"},
        EncodingCase{"MinusTwo", -2, "c0008000000000000000"}, EncodingCase{"Hundred", 100, "4005c800000000000000"},
        EncodingCase{"LargestInteger", std::numeric_limits<std::int64_t>::max(), "403dfffffffffffffffe"},
        EncodingCase{"SmallestInteger", std::numeric_limits<std::int64_t>::min(), "c03e8000000000000000"},
        EncodingCase{"OneTenthRoundsUp", 0.1_x, "3ffbcccccccccccccccd"},
        EncodingCase{"OneThird", 1_x / 3, "3ffdaaaaaaaaaaaaaaab"},
        EncodingCase{"NegativeZero", -0.0_x, "80000000000000000000"},
        EncodingCase{"Largest", Extended::largest(), "7ffeffffffffffffffff"},
        EncodingCase{"SmallestDenormal", Extended::smallestDenormal(), "00000000000000000001"},
        EncodingCase{"Infinity", Extended::infinity(), "7fff8000000000000000"},
        EncodingCase{"DefaultNaN", Extended::defaultNaN(), "ffffc000000000000000"}),
    RowName());

struct OrderCase {
    const char* name;
    Extended a;
    Extended b;
    std::partial_ordering order;
};

class Order : public testing::TestWithParam<OrderCase> {};

TEST_P(Order, ComparesAsTheProcessorDoes)
{
    EXPECT_EQ(GetParam().a <=> GetParam().b, GetParam().order);
    EXPECT_EQ(GetParam().b <=> GetParam().a, 0 <=> (GetParam().a <=> GetParam().b));
}

INSTANTIATE_TEST_SUITE_P(Rows, Order,
    testing::Values(OrderCase{"ZerosOfBothSignsAreEqual", -0.0_x, 0, std::partial_ordering::equivalent},
        OrderCase{"NegativeBelowPositive", -1, Extended::smallestDenormal(), std::partial_ordering::less},
        OrderCase{"LargerNegativeIsLess", -2, -1, std::partial_ordering::less},
        OrderCase{"DenormalBelowSmallestNormal", Extended{0, Extended::kIntegerBit - 1}, Extended::smallestNormal(),
            std::partial_ordering::less},
        OrderCase{"PseudoDenormalIsTheSmallestNormal", Extended{0, Extended::kIntegerBit}, Extended::smallestNormal(),
            std::partial_ordering::equivalent},
        OrderCase{"InfinityAboveLargest", Extended::infinity(), Extended::largest(), std::partial_ordering::greater},
        OrderCase{"NaNIsUnordered", Extended::defaultNaN(), Extended::defaultNaN(), std::partial_ordering::unordered},
        OrderCase{"UnnormalIsUnordered", Extended{0x3FFF, 1}, 1, std::partial_ordering::unordered}),
    RowName());

struct ArithmeticCase {
    const char* name;
    Extended result;
    const char* hex;
};

class Arithmetic : public testing::TestWithParam<ArithmeticCase> {};

TEST_P(Arithmetic, RoundsAsTheProcessorDoes) { EXPECT_EQ(hex20(GetParam().result), GetParam().hex); }

// What the x87 gives, whichever backend works it out here.
INSTANTIATE_TEST_SUITE_P(Rows, Arithmetic,
    testing::Values(ArithmeticCase{"TieAboveAnEvenLastBitRoundsDown", Extended{0x403F, Extended::kIntegerBit} + 1,
                        "403f8000000000000000"},
        ArithmeticCase{
            "TieAboveAnOddLastBitRoundsUp", Extended{0x403F, Extended::kIntegerBit} + 3, "403f8000000000000002"},
        ArithmeticCase{
            "HalvingTheSmallestNormalGivesADenormal", Extended::smallestNormal() / 2, "00004000000000000000"},
        ArithmeticCase{"HalfTheSmallestDenormalTiesToZero", Extended::smallestDenormal() / 2, "00000000000000000000"},
        ArithmeticCase{"ThreeHalvesOfItTieToTwo", Extended::smallestDenormal() * 3 / 2, "00000000000000000002"},
        ArithmeticCase{"OverflowIsInfinite", Extended::largest() * 2, "7fff8000000000000000"},
        ArithmeticCase{"CancellationIsPositiveZero", 0.1_x - 0.1_x, "00000000000000000000"},
        ArithmeticCase{"InfinityMinusInfinityIsTheDefaultNaN", Extended::infinity() - Extended::infinity(),
            "ffffc000000000000000"},
        ArithmeticCase{
            "SignallingNaNComesBackQuiet", Extended{0x7FFF, Extended::kIntegerBit | 5} + 1, "7fffc000000000000005"},
        ArithmeticCase{"UnnormalOperandGivesTheDefaultNaN", Extended{0x3FFF, 1} * 1, "ffffc000000000000000"}),
    RowName());

TEST(CallersLongDouble, RoundTripsAsItsFormatAllows)
{
    using Limits = std::numeric_limits<long double>;
    const Extended values[] = {1, -0.0_x, 0.1_x, 1_x / 3, 1e4000_x, Extended::largest(), Extended::smallestNormal(),
        Extended::smallestDenormal() * 12345, Extended::infinity(true)};
    for (const Extended x : values) {
        const Extended back = calc::fromLongDouble(calc::toLongDouble(x));
        if (Limits::digits >= Extended::kSignificandBits && Limits::max_exponent >= 16384) {
            EXPECT_TRUE(back.identical(x))
                << testing::PrintToString(x) << " came back as " << testing::PrintToString(back);
        } else {
            // A double: the nearest double, which reads back exactly.
            EXPECT_TRUE(calc::fromLongDouble(calc::toLongDouble(back)).identical(back));
        }
    }
    // Every double's value is an extended value: exact one way everywhere.
    EXPECT_EQ(calc::fromLongDouble(0.1L),
        calc::decimalValue(Limits::digits >= 64 ? "0.1" : "0.1000000000000000055511151231257827"));
    EXPECT_EQ(static_cast<double>(calc::toLongDouble(1_x / 3)), 1.0 / 3);
    EXPECT_EQ(calc::toLongDouble(-2.5_x), -2.5L);
}

} // namespace
