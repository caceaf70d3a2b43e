#include "CalcInvariants.h"

#include "TapeTexts.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"

namespace invariants {
namespace {

bool readsBack(std::string_view text)
{
    try {
        calc::ParseNumber(text);
        return true;
    } catch (const calc::EConvertError&) {
        return false;
    }
}

// Twelve digits round the largest values up past the type's range: the
// reports write "1.18973149536E4932", which no number reads back from (a
// pick-up of it is a conversion error), though its digits are a number's.
bool isRoundedPastTheTop(std::string_view text)
{
    constexpr std::string_view kTop = "E4932";
    if (!text.ends_with(kTop)) {
        return false;
    }
    const std::string_view digits = text.substr(0, text.size() - kTop.size());
    return readsBack(digits) && !readsBack(text);
}

bool isNumber(std::string_view text)
{
    if (text.empty() || text.find_first_not_of("0123456789.-E") != std::string_view::npos) {
        return false;
    }
    return readsBack(text) || isRoundedPastTheTop(text);
}

// Blanks, then a number ending in the last byte.
bool isAlignedNumber(std::string_view field)
{
    const std::size_t start = field.find_first_not_of(' ');
    return start != std::string_view::npos && isNumber(field.substr(start));
}

bool startsWithLabel(std::string_view line, std::string_view label, std::string_view& rest)
{
    if (!line.starts_with(label)) {
        return false;
    }
    rest = line.substr(label.size());
    return true;
}

} // namespace

bool isTapeLine(std::string_view line)
{
    std::string_view rest;
    if (line.empty() || line == texts::kSeparator || line == texts::kOverflowLine || line == texts::kZeroRate ||
        line == texts::kNoPrice) {
        return true;
    }
    for (const std::string_view symbol : {texts::kPlus, texts::kMinus, texts::kTimes, texts::kDivide}) {
        if (line == symbol) {
            return true;
        }
        if (line.size() == 25 && line.starts_with(symbol) && isAlignedNumber(line.substr(2))) {
            return true;
        }
    }
    if (line.size() == 25 && line[0] == ' ' && isAlignedNumber(line)) {
        return true;
    }
    if (line.size() == 23 && isAlignedNumber(line)) {
        return true;
    }
    if (startsWithLabel(line, texts::kResult, rest)) {
        return (rest.size() == 21 && isAlignedNumber(rest)) || (rest.size() > 21 && isNumber(rest));
    }
    for (const std::string_view label : {texts::kTaxLabel, texts::kPriceLabel, texts::kTotalLabel}) {
        if (startsWithLabel(line, label, rest)) {
            return isNumber(rest);
        }
    }
    if (startsWithLabel(line, texts::kRateLabel, rest)) {
        return rest.ends_with('%') && isNumber(rest.substr(0, rest.size() - 1));
    }
    if (startsWithLabel(line, texts::kRateSetLabel, rest)) {
        return rest.size() == 13 && rest.ends_with('%') && isAlignedNumber(rest.substr(0, 12));
    }
    return false;
}

std::optional<std::string> brokenInvariant(const calc::Calculator& c, bool wholeTape)
{
    const std::string& entry = c.entryText();
    if (entry.empty() || entry.size() > 24) {
        return "entry line '" + entry + "'";
    }
    // The limit refuses only a key that would lengthen a line of 20 bytes;
    // a refused key changes nothing else, so the state still shows why.
    if (c.hintLine() == texts::kLimitHint && (entry.size() < 20 || (c.state().NewEntry && !c.state().FractionEntry))) {
        return "limit hint on the entry line '" + entry + "' waiting for a new number or short";
    }
    const std::size_t count = c.tape().count();
    if (count > 0 && c.state().MarkIndex != static_cast<std::int32_t>(count) - 1) {
        return "mark " + std::to_string(c.state().MarkIndex) + " on a tape of " + std::to_string(count);
    }
    const std::ptrdiff_t selected = c.tape().selected();
    if (selected < -1 || selected >= static_cast<std::ptrdiff_t>(count)) {
        return "selected line " + std::to_string(selected) + " on a tape of " + std::to_string(count);
    }
    if (c.state().LastOp.empty() && c.state().SecondOperand != 0) {
        return "a second operand without an operation";
    }
    for (std::size_t i = wholeTape ? 0 : (count > 0 ? count - 1 : 0); i < count; ++i) {
        if (!isTapeLine(c.tape().line(i))) {
            return "line " + std::to_string(i) + " '" + std::string(c.tape().line(i)) + "'";
        }
    }
    return std::nullopt;
}

} // namespace invariants
