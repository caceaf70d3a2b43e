#pragma once

#include <cstdint>
#include <string>

namespace calc {

// The calculator state record, fields in their declared order with the
// values of a newly created window.
struct CalcState {
    std::string PendingOp; // "Add", "Sub", "Multi", "Div" or empty
    std::string LastOp; // operator of the last completed equals
    long double FirstOperand = 0;
    long double SecondOperand = 0;
    long double MemoryValue = 0;
    bool NewEntry = false;
    bool FractionEntry = false;
    std::int32_t MarkIndex = 0;
    long double TaxRate = 0;
    long double Value = 0;
};

} // namespace calc
