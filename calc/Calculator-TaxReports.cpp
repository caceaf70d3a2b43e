// Calculator: the rate key and the three tax reports.
#include "calc/Calculator.h"

#include "calc/Exception.h"
#include "calc/TapeLines.h"

#include <cmath>
#include <initializer_list>

namespace calc {
namespace {

bool acceptsRate(long double x) { return x >= 0 && x < 100; }
bool acceptsAmount(long double x) { return x >= 0; }

// A report is refused as a whole before its first line is written.
void requireFinite(std::initializer_list<long double> amounts)
{
    for (const long double amount : amounts) {
        if (!std::isfinite(amount)) {
            throw EOverflow();
        }
    }
}

std::vector<std::string> taxReportLines(long double tax, long double rate)
{
    if (rate == 0) {
        return {taxLine(tax), std::string(tape_text::kZeroRate), std::string(tape_text::kNoPriceAtZeroRate)};
    }
    // x / 0 when rate / 100 underflows makes the price infinite, not a trap.
    const long double price = tax / (rate / 100);
    const long double total = price + tax;
    requireFinite({tax, price, total});
    return {taxLine(tax), rateLine(rate), priceLine(price), totalLine(total)};
}

std::vector<std::string> priceReportLines(long double price, long double rate)
{
    const long double tax = (rate / 100) * price;
    const long double total = price + tax;
    requireFinite({tax, price, total});
    return {priceLine(price), rateLine(rate), taxLine(tax), totalLine(total)};
}

std::vector<std::string> totalReportLines(long double total, long double rate)
{
    const long double price = total / (rate / 100 + 1);
    const long double tax = total - price;
    requireFinite({tax, price, total});
    return {totalLine(total), rateLine(rate), priceLine(price), taxLine(tax)};
}

} // namespace

void Calculator::runTaxKey(bool (*accepts)(long double), const ReportBuilder& build)
{
    const long double x = readEntry();
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

void Calculator::setTaxRate()
{
    runTaxKey(acceptsRate, [this](long double rate) {
        state_.TaxRate = rate;
        rate_ = rateText(rate);
        return std::vector<std::string>{rateSetLine(rate_)};
    });
}

void Calculator::taxReport()
{
    runTaxKey(acceptsAmount, [this](long double x) { return taxReportLines(x, state_.TaxRate); });
}

void Calculator::priceReport()
{
    runTaxKey(acceptsAmount, [this](long double x) { return priceReportLines(x, state_.TaxRate); });
}

void Calculator::totalReport()
{
    runTaxKey(acceptsAmount, [this](long double x) { return totalReportLines(x, state_.TaxRate); });
}

} // namespace calc
