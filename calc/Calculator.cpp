#include "calc/Calculator.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"

#include <array>
#include <limits>

namespace calc {
namespace {

using KeyAction = void (*)(Calculator&);

// Indexed by Key, in its declared order.
constexpr std::array<KeyAction, 28> kKeyActions{
    [](Calculator& c) { c.zero(); },
    [](Calculator& c) { c.digit(1); },
    [](Calculator& c) { c.digit(2); },
    [](Calculator& c) { c.digit(3); },
    [](Calculator& c) { c.digit(4); },
    [](Calculator& c) { c.digit(5); },
    [](Calculator& c) { c.digit(6); },
    [](Calculator& c) { c.digit(7); },
    [](Calculator& c) { c.digit(8); },
    [](Calculator& c) { c.digit(9); },
    [](Calculator& c) { c.point(); },
    [](Calculator& c) { c.sign(); },
    [](Calculator& c) { c.backspace(); },
    [](Calculator& c) { c.clearEntry(); },
    [](Calculator& c) { c.clearAll(); },
    [](Calculator& c) { c.operatorKey(Key::Add); },
    [](Calculator& c) { c.operatorKey(Key::Sub); },
    [](Calculator& c) { c.operatorKey(Key::Multi); },
    [](Calculator& c) { c.operatorKey(Key::Div); },
    [](Calculator& c) { c.equals(); },
    [](Calculator& c) { c.memoryStore(); },
    [](Calculator& c) { c.memoryAdd(); },
    [](Calculator& c) { c.memoryRecall(); },
    [](Calculator& c) { c.memoryClear(); },
    [](Calculator& c) { c.setTaxRate(); },
    [](Calculator& c) { c.taxReport(); },
    [](Calculator& c) { c.priceReport(); },
    [](Calculator& c) { c.totalReport(); },
};
static_assert(static_cast<std::size_t>(Key::PriceAndTax) + 1 == kKeyActions.size(), "one action per key");

} // namespace

std::string Calculator::withPoint(std::string text)
{
    if (text.find('.') == std::string::npos) {
        text += '.';
    }
    return text;
}

Calculator::Calculator() = default;

void Calculator::press(Key key) { kKeyActions[static_cast<std::size_t>(key)](*this); }

void Calculator::FormShow()
{
    entry_ = withPoint(GeneralText(state_.Value));
    state_.NewEntry = true;
    dropPendingOp();
    state_.MemoryValue = 0;
    rate_ = "17%";
    state_.TaxRate = 17;
    setHint(Hint::Welcome);
}

void Calculator::selectLine(std::ptrdiff_t index) { tape_.select(index); }

void Calculator::setHint(Hint hint) { hint_ = hintText(hint); }

long double Calculator::readEntry() const
{
    // A single-digit exponent result is shown as '1E20.'; it must read back.
    std::string_view text = entry_;
    if (text.find('E') != std::string_view::npos && text.ends_with('.')) {
        text.remove_suffix(1);
    }
    try {
        return ParseNumber(text);
    } catch (const EConvertError&) {
        throw EConvertError::forText(entry_);
    }
}

void Calculator::awaitNewEntry()
{
    state_.NewEntry = true;
    state_.FractionEntry = false;
}

void Calculator::forgetCalculation()
{
    dropPendingOp();
    state_.LastOp.clear();
    state_.FirstOperand = 0;
    state_.SecondOperand = 0;
    awaitNewEntry();
}

void Calculator::startBlock()
{
    if (tape_.holdsAnyLine()) {
        tape_.append({});
    }
}

void Calculator::markLine(std::size_t index)
{
    state_.MarkIndex = static_cast<std::int32_t>(index);
    tape_.select(static_cast<std::ptrdiff_t>(index));
}

void Calculator::dropPendingOp()
{
    state_.PendingOp.clear();
    pendingBlockStart_.reset();
}

} // namespace calc
