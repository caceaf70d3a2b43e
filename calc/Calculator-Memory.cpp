// Calculator: the memory keys MS, M+, MR and MC.
#include "calc/Calculator.h"

#include "calc/NumberText.h"

namespace calc {
namespace {

// The caption of the memory indicator while the register is in use.
constexpr std::string_view kInUse = "M";

} // namespace

void Calculator::memoryStore()
{
    const Extended x = readEntry();
    if (x == 0) {
        return;
    }
    state_.MemoryValue = x;
    memory_.clear();
    memory_ += kInUse;
    awaitNewEntry();
}

void Calculator::memoryAdd()
{
    if (memory_ != kInUse) {
        press(Key::MS);
        return;
    }
    // Past the extended range this stores an infinity, shown as 'INF.'.
    state_.MemoryValue = readEntry() + state_.MemoryValue;
    awaitNewEntry();
}

void Calculator::memoryRecall()
{
    if (memory_ != kInUse) {
        return;
    }
    entry_ = withPoint(GeneralText(state_.MemoryValue));
    awaitNewEntry();
}

void Calculator::memoryClear()
{
    if (memory_ != kInUse) {
        return;
    }
    memory_.clear();
    state_.MemoryValue = 0;
    awaitNewEntry();
}

} // namespace calc
