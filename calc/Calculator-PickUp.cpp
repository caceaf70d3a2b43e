// Calculator: the pick-up of a tape line's number by a double click.
#include "calc/Calculator.h"

#include "calc/NumberText.h"
#include "calc/Operators.h"
#include "calc/TapeLines.h"

#include <array>

namespace calc {
namespace {

// Matching is by bytes anywhere in the line, as the tape's labels are found.
bool contains(std::string_view line, std::string_view literal) { return line.find(literal) != std::string_view::npos; }

// The symbol twice in a row: "－－" is the separator line, not a minus.
bool containsTwice(std::string_view line, std::string_view symbol)
{
    for (std::size_t at = line.find(symbol); at != std::string_view::npos; at = line.find(symbol, at + 1)) {
        if (line.substr(at + symbol.size()).starts_with(symbol)) {
            return true;
        }
    }
    return false;
}

std::string_view minusSymbol() { return operatorForKey(Key::Sub)->symbol; }

bool holdsAmountWord(std::string_view line)
{
    return contains(line, tape_text::kTotalWord) || contains(line, tape_text::kPriceWord) ||
        contains(line, tape_text::kTaxWord);
}

// "＋", "×" or "÷"; or "－" but not "－－".
bool holdsOperatorSymbol(std::string_view line)
{
    for (const OperatorRow& row : operatorRows()) {
        if (contains(line, row.symbol) && (row.key != Key::Sub || !containsTwice(line, row.symbol))) {
            return true;
        }
    }
    return false;
}

struct PickRule {
    bool (*applies)(std::string_view line);
    // 1-based byte where the number text starts; 0 when no number is picked.
    std::size_t from;
    // A rate: final "%" dropped, the number taken as a fraction.
    bool percent;
    // An empty number text picks nothing instead of failing.
    bool emptyPicksNothing;
};

// The first rule that applies decides.
const std::array kPickRules{
    PickRule{holdsAmountWord, 12, false, false},
    PickRule{[](std::string_view l) { return contains(l, tape_text::kRateWord); }, 12, true, false},
    PickRule{holdsOperatorSymbol, 3, false, true},
    PickRule{[](std::string_view l) { return contains(l, tape_text::kResultWord); }, 5, false, false},
    PickRule{[](std::string_view l) { return !l.empty() && !containsTwice(l, minusSymbol()); }, 1, false, false},
    PickRule{[](std::string_view) { return true; }, 0, false, false},
};

} // namespace

void Calculator::ListBoxShowDblClick()
{
    if (tape_.selected() < 0) {
        return;
    }
    const std::string_view line = tape_.lineOrEmpty(tape_.selected());
    for (const PickRule& rule : kPickRules) {
        if (!rule.applies(line)) {
            continue;
        }
        if (rule.from == 0) {
            return;
        }
        std::string_view text = TrimBlanks(bytesFrom(line, rule.from));
        if (text.empty() && rule.emptyPicksNothing) {
            return;
        }
        if (rule.percent && text.ends_with('%')) {
            text.remove_suffix(1);
        }
        Extended number = ParseNumber(text);
        if (rule.percent) {
            number /= 100;
        }
        state_.Value = number;
        modalResult_ = 1;
        return;
    }
}

} // namespace calc
