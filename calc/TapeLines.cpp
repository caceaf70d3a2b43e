#include "calc/TapeLines.h"

#include "calc/NumberText.h"

namespace calc {
namespace {

// Amounts and rates of the reports keep twelve significant digits.
constexpr int kReportDigits = 12;
// The result line has 21 bytes after its four-byte word.
constexpr std::size_t kResultField = 21;

std::string join(std::string_view head, std::string_view tail)
{
    std::string line;
    line.reserve(head.size() + tail.size());
    line += head;
    line += tail;
    return line;
}

} // namespace

std::string_view bytesFrom(std::string_view text, std::size_t position)
{
    if (position == 0 || position > text.size()) {
        return {};
    }
    return text.substr(position - 1);
}

std::string operandLine(std::string_view entryText) { return AlignRight(TrimTrailingPoint(entryText)); }

std::string numberLine(Extended x) { return AlignRight(GeneralText(x)); }

std::string operatorLine(std::string_view symbol, Extended secondOperand)
{
    return join(symbol, bytesFrom(numberLine(secondOperand), 3));
}

std::string resultLine(std::string_view resultText)
{
    if (resultText.size() > kResultField) {
        return join(tape_text::kResultWord, resultText);
    }
    return join(tape_text::kResultWord, bytesFrom(AlignRight(resultText), 5));
}

std::string overflowLine() { return resultLine(tape_text::kOutOfRange); }

std::string rateText(Extended rate) { return FixedText(rate, kReportDigits) + "%"; }

std::string taxLine(Extended tax) { return join(tape_text::kTaxLabel, FixedText(tax, kReportDigits)); }

std::string rateLine(Extended rate) { return join(tape_text::kRateLabel, rateText(rate)); }

std::string priceLine(Extended price) { return join(tape_text::kPriceLabel, FixedText(price, kReportDigits)); }

std::string totalLine(Extended total) { return join(tape_text::kTotalLabel, FixedText(total, kReportDigits)); }

std::string rateSetLine(std::string_view rateCaption)
{
    return join(tape_text::kRateSetLabel, bytesFrom(AlignRight(rateCaption), 13));
}

} // namespace calc
