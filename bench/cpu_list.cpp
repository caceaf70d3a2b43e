#include "bench/cpu_list.h"

#include <charconv>

namespace bench {

namespace {

// A whole decimal number and nothing else.
std::optional<int> number(std::string_view text)
{
    int value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<cpu_set_t> parseCpuList(std::string_view list)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (list.empty()) {
        return std::nullopt;
    }
    while (true) {
        const auto comma = list.find(',');
        const std::string_view part = list.substr(0, comma);
        const auto dash = part.find('-');
        const auto first = number(part.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : number(part.substr(dash + 1));
        if (!first || !last || *first > *last || *last >= CPU_SETSIZE) {
            return std::nullopt;
        }
        for (int cpu = *first; cpu <= *last; ++cpu) {
            CPU_SET(cpu, &set);
        }
        if (comma == std::string_view::npos) {
            return set;
        }
        list.remove_prefix(comma + 1);
    }
}

} // namespace bench
