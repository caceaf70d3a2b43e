#pragma once

#include "calc/Extended.h"
#include "calc/Key.h"

#include <span>
#include <string_view>

namespace calc {

// One row per operator key: the name held in PendingOp and LastOp, the
// full-width symbol written on the tape, and what equals computes.
struct OperatorRow {
    Key key;
    std::string_view name;
    std::string_view symbol;
    Extended (*apply)(Extended first, Extended second);
};

// The four operators in key order: ＋, －, ×, ÷.
std::span<const OperatorRow> operatorRows();
// nullptr for a key that is no operator.
const OperatorRow* operatorForKey(Key key);
// nullptr for the empty name.
const OperatorRow* operatorNamed(std::string_view name);

} // namespace calc
