#include "bench/callgrind_totals.h"

#include <algorithm>
#include <charconv>

namespace bench {

namespace {

std::optional<long long> firstFigure(std::string_view line, std::string_view key)
{
    if (!line.starts_with(key)) {
        return std::nullopt;
    }
    std::string_view rest = line.substr(key.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    long long value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error != std::errc() || end == rest.data() || (end != rest.data() + rest.size() && *end != ' ')) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<long long> callgrindTotal(std::string_view dump)
{
    std::optional<long long> summary;
    while (!dump.empty()) {
        const std::size_t end = std::min(dump.find('\n'), dump.size());
        const std::string_view line = dump.substr(0, end);
        dump.remove_prefix(std::min(end + 1, dump.size()));
        if (const auto total = firstFigure(line, "totals:")) {
            return total;
        }
        if (!summary) {
            summary = firstFigure(line, "summary:");
        }
    }
    return summary;
}

} // namespace bench
