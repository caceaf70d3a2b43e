// Calculator: the operator keys and equals, with the division-by-zero reset.
#include "calc/Calculator.h"

#include "calc/NumberText.h"
#include "calc/Operators.h"
#include "calc/TapeLines.h"

#include <utility>

namespace calc {

void Calculator::operatorKey(Key op)
{
    const OperatorRow* row = operatorForKey(op);
    if (row == nullptr) {
        return;
    }
    if (!state_.PendingOp.empty()) {
        press(Key::Equal);
    } else {
        state_.FirstOperand = readEntry();
        // A division by zero later puts the tape back to this length.
        pendingBlockStart_ = tape_.count();
        startBlock();
        tape_.append(operandLine(entry_));
        markLine(tape_.append(row->symbol));
    }
    awaitNewEntry();
    state_.PendingOp = row->name;
}

void Calculator::equals()
{
    const bool pending = !state_.PendingOp.empty();
    if (pending) {
        state_.SecondOperand = readEntry();
        state_.LastOp = state_.PendingOp;
    } else {
        state_.FirstOperand = readEntry();
    }
    // The tape as it was before this calculation began writing.
    const std::size_t restorePoint = (pending && pendingBlockStart_) ? *pendingBlockStart_ : tape_.count();
    pendingBlockStart_.reset();

    const OperatorRow* op = operatorNamed(state_.LastOp);
    const std::string_view symbol = op ? op->symbol : std::string_view{};

    std::optional<DeletedLine> deleted;
    if (tape_.holdsAnyLine()) {
        const std::ptrdiff_t mark = state_.MarkIndex;
        if (tape_.lineOrEmpty(mark - 1) == tape_text::kSeparator) {
            // The mark is on a result: this equals opens a block of its own.
            tape_.append({});
            tape_.append(numberLine(state_.FirstOperand));
        } else if (const std::string_view marked = tape_.lineOrEmpty(mark);
            mark >= 0 && static_cast<std::size_t>(mark) < tape_.count()) {
            deleted = DeletedLine{static_cast<std::size_t>(mark), std::string(marked)};
            tape_.remove(mark);
        }
        tape_.append(operatorLine(symbol, state_.SecondOperand));
    }

    if (op != nullptr && op->key == Key::Div && state_.SecondOperand == 0) {
        divisionByZeroReset(restorePoint, deleted);
        awaitNewEntry();
        return;
    }
    if (op != nullptr) {
        state_.FirstOperand = op->apply(state_.FirstOperand, state_.SecondOperand);
    }

    entry_ = GeneralText(state_.FirstOperand);
    if (!state_.FirstOperand.isFinite()) {
        tape_.append(tape_text::kSeparator);
        markLine(tape_.append(overflowLine()));
        entry_ = "0.";
        forgetCalculation();
        return;
    }

    tape_.append(tape_text::kSeparator);
    markLine(tape_.append(resultLine(entry_)));
    entry_ = withPoint(std::move(entry_));
    state_.PendingOp.clear();
    awaitNewEntry();
}

void Calculator::divisionByZeroReset(std::size_t restorePoint, const std::optional<DeletedLine>& deleted)
{
    entry_ = "0.";
    state_.PendingOp.clear();
    // Only the failed calculation's own lines go; a line of an earlier block
    // that equals took away comes back at the end.
    const bool restoreDeleted = deleted && deleted->index < restorePoint;
    const std::size_t keep = restoreDeleted ? restorePoint - 1 : restorePoint;
    while (tape_.count() > keep) {
        tape_.remove(static_cast<std::ptrdiff_t>(tape_.count() - 1));
    }
    if (restoreDeleted) {
        tape_.append(deleted->text);
    }
    state_.MarkIndex = static_cast<std::int32_t>(static_cast<std::ptrdiff_t>(tape_.count()) - 1);
}

} // namespace calc
