// Calculator: the entry line's keys (digits, zero, point, sign, backspace, CE, C) and its limit.
#include "calc/Calculator.h"

#include "calc/NumberText.h"

namespace calc {
namespace {

// The entry line takes no further digit once it is this long.
constexpr std::size_t kEntryLimit = 20;

} // namespace

// A key that starts a new number replaces the shown one, however long: after
// "1 / 3000 =" ('0.000333333333333333', 20 bytes) the key 7 gives '7.'.
bool Calculator::CanAppendDigit()
{
    const bool startsNewNumber = state_.NewEntry && !state_.FractionEntry;
    if (startsNewNumber || entry_.size() < kEntryLimit) {
        return true;
    }
    setHint(Hint::EntryLimit);
    return false;
}

void Calculator::StartNewEntry()
{
    if (state_.NewEntry && !state_.FractionEntry) {
        entry_.clear();
        state_.NewEntry = false;
    }
}

// d is '1' to '9'; the zero key has rules of its own.
void Calculator::digit(char d)
{
    if (!CanAppendDigit()) {
        return;
    }
    StartNewEntry();
    if (state_.FractionEntry) {
        entry_ += d;
        return;
    }
    if (entry_ == "0.") {
        entry_.clear();
    }
    entry_ = TrimTrailingPoint(entry_) + d + '.';
}

void Calculator::zero()
{
    if (!CanAppendDigit()) {
        return;
    }
    // No leading zero is typed; NewEntry stays as it is.
    if ((entry_ == "0." || entry_.empty()) && !state_.FractionEntry) {
        return;
    }
    StartNewEntry();
    if (state_.FractionEntry) {
        entry_ += '0';
    } else {
        entry_ = TrimTrailingPoint(entry_) + "0.";
    }
}

void Calculator::point()
{
    if (!CanAppendDigit()) {
        return;
    }
    StartNewEntry();
    if (entry_.empty()) {
        entry_ = "0.";
    }
    state_.FractionEntry = true;
}

void Calculator::sign()
{
    if (!entry_.empty() && entry_.front() == '-') {
        entry_.erase(0, 1);
    } else {
        entry_.insert(0, 1, '-');
    }
}

void Calculator::backspace()
{
    if (entry_.empty()) {
        return;
    }
    if (entry_.back() != '.') {
        entry_.pop_back();
    } else if (entry_.size() >= 2) {
        // '127.' -> '12.': the digit before the point goes.
        entry_.erase(entry_.size() - 2, 1);
    }
    if (entry_ == "." || entry_ == "-.") {
        entry_ = "0.";
    }
}

void Calculator::clearEntry()
{
    entry_ = "0.";
    awaitNewEntry();
}

void Calculator::clearAll()
{
    tape_.clear();
    entry_ = "0.";
    forgetCalculation();
}

} // namespace calc
