#include "TapeTexts.h"
#include "tests/ExtendedLiteral.h"
#include "tools/KeyScript.h"

#include "calc/Exception.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using calc::Calculator;

namespace {

constexpr Extended kUntouched = -7;

struct PickCase {
    const char* name;
    const char* script;
    std::ptrdiff_t line;
    std::optional<Extended> picked; // nothing: Value and the result stay
};

class PickUp : public testing::TestWithParam<PickCase> {};

TEST_P(PickUp, TakesTheNumberOfTheLine)
{
    Calculator c;
    keyscript::play(c, GetParam().script);
    c.selectLine(GetParam().line);
    c.setValue(kUntouched);
    const std::string entry = c.entryText();
    const std::string hint = c.hintLine();
    c.ListBoxShowDblClick();
    EXPECT_EQ(c.value(), GetParam().picked.value_or(kUntouched));
    EXPECT_EQ(c.modalResult(), GetParam().picked ? 1 : 0);
    EXPECT_EQ(c.entryText(), entry);
    EXPECT_EQ(c.hintLine(), hint);
}

INSTANTIATE_TEST_SUITE_P(Rows, PickUp,
    testing::Values(PickCase{"ResultLine", "SHOW 12 + 30 =", 3, 42}, PickCase{"OperandLine", "SHOW 12 + 30 =", 0, 12},
        PickCase{"OperatorLine", "SHOW 12 + 30 =", 1, 30}, PickCase{"NegativeSecondOperand", "SHOW 8 - 5 +/- =", 1, -5},
        PickCase{"LineWithoutSymbol", "SHOW 7 = 7 =", 4, 0},
        PickCase{"LongResultLine", "SHOW 1 / 3 / 100000 +/- =", 8, -3.33333333333333e-6_x},
        PickCase{"LoneOperatorLine", "SHOW 12 +", 1, std::nullopt},
        PickCase{"SeparatorLine", "SHOW 12 + 30 =", 2, std::nullopt},
        PickCase{"EmptyLine", "SHOW 12 + 30 = =", 4, std::nullopt},
        PickCase{"RateLine", "SHOW 17 TAX", 2, 17.0_x / 100},
        PickCase{"RateLineWithDecimals", "SHOW 12.345 RATE 1 TAX", 6, 12.35_x / 100},
        PickCase{"RateSetLine", "SHOW 5 RATE", 1, 5.0_x / 100}, PickCase{"TaxLine", "SHOW 17 TAX", 1, 17},
        PickCase{"PriceLine", "SHOW 17 TAX", 3, 100}, PickCase{"TotalLine", "SHOW 17 TAX", 4, 117},
        PickCase{"NoSelectedLine", "SHOW 12 + 30 = C", -1, std::nullopt},
        PickCase{"SelectionOutsideTheTape", "SHOW 12 + 30 =", 4, std::nullopt}),
    RowName());

struct PickErrorCase {
    const char* name;
    Extended shown;
    const char* script;
    std::ptrdiff_t line;
    std::string message;
};

class PickUpError : public testing::TestWithParam<PickErrorCase> {};

TEST_P(PickUpError, ReportsTheTextAndChangesNothing)
{
    Calculator c;
    c.setValue(GetParam().shown);
    keyscript::play(c, GetParam().script);
    c.selectLine(GetParam().line);
    c.setValue(kUntouched);
    try {
        c.ListBoxShowDblClick();
        FAIL() << "expected a conversion error";
    } catch (const calc::EConvertError& e) {
        EXPECT_EQ(e.message(), GetParam().message);
    }
    EXPECT_EQ(c.value(), kUntouched);
    EXPECT_EQ(c.modalResult(), 0);
}

const std::string kNotANumber = "' is not a valid floating point value";

INSTANTIATE_TEST_SUITE_P(Rows, PickUpError,
    testing::Values(PickErrorCase{"OverflowLine", 1e4000_x, "SHOW * =", 3,
                        "'\xCA\xFD\xD7\xD6\xB3\xAC\xB7\xB6\xCE\xA7!" + kNotANumber},
        PickErrorCase{"ZeroRateLine", 0, "SHOW RATE 5 TAX", 6, "'" + kNotANumber},
        // Byte 12 is the second byte of a character: the text starts inside it.
        PickErrorCase{
            "NoPriceLine", 0, "SHOW RATE 5 TAX", 7, "'" + std::string(texts::kNoPrice.substr(11)) + kNotANumber}),
    RowName());

} // namespace
