// Calculator: the rate key and the three tax reports.
#include "calc/Calculator.h"

#include "calc/Exception.h"
#include "calc/TapeLines.h"

#include <initializer_list>

namespace calc {
namespace {

bool acceptsAmount(Extended x) { return x >= 0; }

// A report is refused as a whole before its first line is written.
void requireFinite(std::initializer_list<Extended> amounts)
{
    for (const Extended amount : amounts) {
        if (!amount.isFinite()) {
            throw EOverflow();
        }
    }
}

std::vector<std::string> taxReportLines(Extended tax, Extended rate)
{
    if (rate == 0) {
        return {taxLine(tax), std::string(tape_text::kZeroRate), std::string(tape_text::kNoPriceAtZeroRate)};
    }
    // x / 0 when rate / 100 underflows makes the price infinite, not a trap.
    const Extended price = tax / (rate / 100);
    const Extended total = price + tax;
    requireFinite({tax, price, total});
    return {taxLine(tax), rateLine(rate), priceLine(price), totalLine(total)};
}

std::vector<std::string> priceReportLines(Extended price, Extended rate)
{
    const Extended tax = (rate / 100) * price;
    const Extended total = price + tax;
    requireFinite({tax, price, total});
    return {priceLine(price), rateLine(rate), taxLine(tax), totalLine(total)};
}

std::vector<std::string> totalReportLines(Extended total, Extended rate)
{
    const Extended price = total / (rate / 100 + 1);
    const Extended tax = total - price;
    requireFinite({tax, price, total});
    return {totalLine(total), rateLine(rate), priceLine(price), taxLine(tax)};
}

} // namespace

void Calculator::runTaxKey(bool (*accepts)(Extended), const ReportBuilder& build)
{
    const Extended x = readEntry();
    if (accepts(x)) {
        const std::vector<std::string> lines = build(x);
        startBlock();
        tape_.append(tape_text::kSeparator);
        for (const std::string& line : lines) {
            tape_.append(line);
        }
        markLine(tape_.append(tape_text::kSeparator));
    }
    // Refused or not, the calculation in progress ends.
    forgetCalculation();
}

bool Calculator::acceptsRate(Extended rate) { return rate >= 0 && rate < 100; }

bool Calculator::setStartRate(Extended rate)
{
    if (!acceptsRate(rate)) {
        return false;
    }
    startRate_ = rate;
    startRateCaption_ = rateText(rate);
    return true;
}

void Calculator::setTaxRate()
{
    runTaxKey(acceptsRate, [this](Extended rate) {
        state_.TaxRate = rate;
        rate_ = rateText(rate);
        return std::vector<std::string>{rateSetLine(rate_)};
    });
}

void Calculator::taxReport()
{
    runTaxKey(acceptsAmount, [this](Extended x) { return taxReportLines(x, state_.TaxRate); });
}

void Calculator::priceReport()
{
    runTaxKey(acceptsAmount, [this](Extended x) { return priceReportLines(x, state_.TaxRate); });
}

void Calculator::totalReport()
{
    runTaxKey(acceptsAmount, [this](Extended x) { return totalReportLines(x, state_.TaxRate); });
}

} // namespace calc
