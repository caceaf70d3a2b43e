#pragma once

#include "calc/CalcState.h"
#include "calc/Hints.h"
#include "calc/Key.h"
#include "calc/Tape.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

// The whole calculator and tax behaviour behind the window: state, entry
// line, tape, hint line, memory indicator and rate display. All texts are
// code page 936 byte strings. A key that cannot read the entry line throws
// EConvertError (a tax amount beyond range: EOverflow) and keeps what it did
// before; the window reports it.
class Calculator {
public:
    Calculator();

    // One key of the window: the key's own hint, then its action. An action
    // that hands over to another presses that key in turn, so the hint of the
    // last one stays.
    void press(Key key);

    // Part of showing the window: the start state and the welcome hint.
    void FormShow();
    // Double click on the tape: takes the number of the selected line.
    void ListBoxShowDblClick();
    // The user selects a tape line (-1 for none).
    void selectLine(std::ptrdiff_t index);
    // A caller sets the public value before showing.
    void setValue(Extended value) { state_.Value = value; }
    // The rate every show starts at, taken as the rate key takes it from the
    // entry line. A rate the key refuses is refused here too: false, and the
    // start rate stays.
    bool setStartRate(Extended rate);
    // The rate key's rule: from 0 to under 100.
    static bool acceptsRate(Extended rate);

    const CalcState& state() const { return state_; }
    Extended value() const { return state_.Value; }
    const std::string& entryText() const { return entry_; }
    const std::string& hintLine() const { return hint_; }
    const std::string& memoryIndicator() const { return memory_; }
    const std::string& rateCaption() const { return rate_; }
    const Tape& tape() const { return tape_; }
    // 1 (OK) after a pick-up, else 0.
    int modalResult() const { return modalResult_; }
    void setModalResult(int result) { modalResult_ = result; }

    void setTapeObserver(TapeObserver* observer) { tape_.setObserver(observer); }

    // Whether a digit, zero or point key may go on: it starts a new number, or
    // the entry line is shorter than 20 bytes. Otherwise the limit hint.
    bool CanAppendDigit();
    // A digit, zero or point key waiting for a new number empties the line.
    void StartNewEntry();

private:
    // The keys, reached through press().
    void digit(char d);
    void zero();
    void point();
    void sign();
    void backspace();
    void clearEntry();
    void clearAll();
    void operatorKey(Key op);
    void equals();
    void memoryStore();
    void memoryAdd();
    void memoryRecall();
    void memoryClear();
    void setTaxRate();
    void taxReport();
    void priceReport();
    void totalReport();

    // A line that equals took off the tape, kept so a reset can put it back.
    struct DeletedLine {
        std::size_t index;
        std::string text;
    };
    // Builds the lines of a tax block from the entry; throws before any line
    // is written when an amount is beyond range.
    using ReportBuilder = std::function<std::vector<std::string>(Extended)>;

    void setHint(Hint hint);
    // The entry line as a number; a final "." after an exponent is ignored.
    Extended readEntry() const;
    void awaitNewEntry();
    // A number shown on the entry line keeps a visible point: "42" -> "42.",
    // "0.5" stays.
    static std::string withPoint(std::string text);
    // Ends the calculation in progress: no operation pending or remembered,
    // both operands 0, and the next digit starts a new number.
    void forgetCalculation();
    // Empty line between blocks.
    void startBlock();
    // MarkIndex and the selection on this line.
    void markLine(std::size_t index);
    void dropPendingOp();
    void divisionByZeroReset(std::size_t restorePoint, const std::optional<DeletedLine>& deleted);
    void runTaxKey(bool (*accepts)(Extended), const ReportBuilder& build);

    CalcState state_;
    std::string entry_;
    std::string hint_;
    std::string memory_;
    std::string rate_;
    Tape tape_;
    int modalResult_ = 0;
    // Until a caller sets another, a show starts at 17 with the caption "17%",
    // not the "17.00%" the rate key would write.
    Extended startRate_ = 17;
    std::string startRateCaption_ = "17%";
    // Tape length before the operator key that began the pending calculation;
    // the division-by-zero reset goes back to it.
    std::optional<std::size_t> pendingBlockStart_;
};

} // namespace calc
