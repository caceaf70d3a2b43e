#pragma once

#include "calc/Extended.h"

#include <cstdint>
#include <string>

namespace calc {

// The calculator state record, fields in their declared order with the
// values of a newly created window.
struct CalcState {
    std::string PendingOp; // "Add", "Sub", "Multi", "Div" or empty
    std::string LastOp; // operator of the last completed equals
    Extended FirstOperand = 0;
    Extended SecondOperand = 0;
    Extended MemoryValue = 0;
    bool NewEntry = false;
    bool FractionEntry = false;
    std::int32_t MarkIndex = 0;
    Extended TaxRate = 0;
    Extended Value = 0;
};

} // namespace calc
