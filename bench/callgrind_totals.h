#pragma once

#include <optional>
#include <string_view>

namespace bench {

// The instructions a callgrind dump counted: the first figure of its
// "totals:" line, or of "summary:" where the dump has no totals line.
// "events: Ir\n...\ntotals: 351204\n" -> 351204.
std::optional<long long> callgrindTotal(std::string_view dump);

} // namespace bench
