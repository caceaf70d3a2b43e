#include "calc/Calculator.h"

#include "calc/NumberText.h"
#include "calc/TapeLines.h"

#include <array>

namespace calc {
namespace {

constexpr std::string_view kPlus = "\xA3\xAB"; // ＋
constexpr std::string_view kMinus = "\xA3\xAD"; // －
constexpr std::string_view kTimes = "\xA1\xC1"; // ×
constexpr std::string_view kDivide = "\xA1\xC2"; // ÷
constexpr std::string_view kDoubleMinus = "\xA3\xAD\xA3\xAD"; // －－
constexpr std::string_view kTotal = "\xBC\xDB\xCB\xB0\xBA\xCF\xBC\xC6"; // 价税合计
constexpr std::string_view kPrice = "\xB2\xBB\xBA\xAC\xCB\xB0\xBC\xDB"; // 不含税价
constexpr std::string_view kTax = "\xCB\xB0\xBD\xF0"; // 税金
constexpr std::string_view kRate = "\xCB\xB0\xC2\xCA"; // 税率

// Matching is by bytes anywhere in the line, as the tape's labels are found.
bool contains(std::string_view line, std::string_view literal) { return line.find(literal) != std::string_view::npos; }

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
    PickRule{[](std::string_view l) { return contains(l, kTotal) || contains(l, kPrice) || contains(l, kTax); }, 12,
        false, false},
    PickRule{[](std::string_view l) { return contains(l, kRate); }, 12, true, false},
    PickRule{[](std::string_view l) {
                 return contains(l, kPlus) || contains(l, kTimes) || contains(l, kDivide) ||
                     (contains(l, kMinus) && !contains(l, kDoubleMinus));
             },
        3, false, true},
    PickRule{[](std::string_view l) { return contains(l, tape_text::kResultWord); }, 5, false, false},
    PickRule{[](std::string_view l) { return !l.empty() && !contains(l, kDoubleMinus); }, 1, false, false},
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
        long double number = ParseNumber(text);
        if (rule.percent) {
            number /= 100;
        }
        state_.Value = number;
        modalResult_ = 1;
        return;
    }
}

} // namespace calc
