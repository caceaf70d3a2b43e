#pragma once

#include <optional>
#include <string>
#include <vector>

namespace bench {

// The system the figures were taken on, as /etc/os-release names it: ratios
// differ between releases with their Qt and compiler.
std::string systemName();

// The three load averages of /proc/loadavg, "0.40 1.09 1.21".
std::string loadAverage();

// A figure in printf's `format`, "-" where there is none.
std::string cell(std::optional<double> value, const char* format);

// One row of a table: the name in `nameWidth` columns, then each cell right
// aligned in `cellWidth`.
void printRow(const std::string& name, const std::vector<std::string>& cells, int nameWidth, int cellWidth);

} // namespace bench
