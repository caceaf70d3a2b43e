// Calculator: the key dispatch, showing the window, and the helpers every key shares.
#include "calc/Calculator.h"

#include "calc/Exception.h"
#include "calc/NumberText.h"

namespace calc {

std::string Calculator::withPoint(std::string text)
{
    if (text.find('.') == std::string::npos) {
        text += '.';
    }
    return text;
}

Calculator::Calculator() = default;

// No default: -Wswitch, an error in every build, names a key added to Key
// and missing here.
void Calculator::press(Key key)
{
    // Count is no key: it has no hint and does nothing.
    if (key == Key::Count) {
        return;
    }
    setHint(hintOf(key));
    switch (key) {
    case Key::D0: zero(); return;
    case Key::D1: digit('1'); return;
    case Key::D2: digit('2'); return;
    case Key::D3: digit('3'); return;
    case Key::D4: digit('4'); return;
    case Key::D5: digit('5'); return;
    case Key::D6: digit('6'); return;
    case Key::D7: digit('7'); return;
    case Key::D8: digit('8'); return;
    case Key::D9: digit('9'); return;
    case Key::Dot: point(); return;
    case Key::Sign: sign(); return;
    case Key::Back: backspace(); return;
    case Key::CE: clearEntry(); return;
    case Key::C: clearAll(); return;
    case Key::Add:
    case Key::Sub:
    case Key::Multi:
    case Key::Div: operatorKey(key); return;
    case Key::Equal: equals(); return;
    case Key::MS: memoryStore(); return;
    case Key::MAdd: memoryAdd(); return;
    case Key::MR: memoryRecall(); return;
    case Key::MC: memoryClear(); return;
    case Key::SetCess: setTaxRate(); return;
    case Key::Tax: taxReport(); return;
    case Key::Price: priceReport(); return;
    case Key::PriceAndTax: totalReport(); return;
    case Key::Count: return;
    }
}

void Calculator::FormShow()
{
    entry_ = withPoint(GeneralText(state_.Value));
    state_.NewEntry = true;
    dropPendingOp();
    state_.MemoryValue = 0;
    rate_ = startRateCaption_;
    state_.TaxRate = startRate_;
    setHint(Hint::Welcome);
}

void Calculator::selectLine(std::ptrdiff_t index) { tape_.select(index); }

void Calculator::setHint(Hint hint) { hint_ = hintText(hint); }

Extended Calculator::readEntry() const
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
