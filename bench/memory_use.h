#pragma once

#include <sys/types.h>

#include <optional>
#include <string_view>

namespace bench {

// Resident memory of a process, in KiB as the kernel counts it.
struct MemoryUse {
    long rssKb = 0;
    // Shared pages divided among their users: what this process adds.
    long pssKb = 0;
};

// The Rss and Pss lines of /proc/<pid>/smaps_rollup.
std::optional<MemoryUse> parseSmapsRollup(std::string_view text);
std::optional<MemoryUse> readMemoryUse(pid_t pid);

// How many processes other than `pid` map a file whose path contains
// `library`: they share its pages and so lower the PSS of `pid`.
int countOtherMappers(pid_t pid, std::string_view library);

} // namespace bench
