#pragma once

#include <sched.h>

#include <optional>
#include <string_view>

namespace bench {

// A list of processors as taskset -c takes it ("0", "0,1", "0-1", "0,2-3"),
// as a set for sched_setaffinity; nothing for a malformed or empty list.
std::optional<cpu_set_t> parseCpuList(std::string_view list);

} // namespace bench
