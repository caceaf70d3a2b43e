#include "bench/memory_use.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace bench {

namespace {

// "<name>:   <number> kB" at the start of a line; nothing for Pss_Anon and
// the like when `name` is "Pss".
std::optional<long> field(std::string_view line, std::string_view name)
{
    if (!line.starts_with(name) || line.substr(name.size(), 1) != ":") {
        return std::nullopt;
    }
    std::string_view rest = line.substr(name.size() + 1);
    rest.remove_prefix(std::min(rest.find_first_not_of(" \t"), rest.size()));
    long value = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
    if (error != std::errc{} || std::string_view(end, rest.data() + rest.size()) != " kB") {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<MemoryUse> parseSmapsRollup(std::string_view text)
{
    std::optional<long> rss, pss;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (!rss) {
            rss = field(line, "Rss");
        }
        if (!pss) {
            pss = field(line, "Pss");
        }
    }
    if (!rss || !pss) {
        return std::nullopt;
    }
    return MemoryUse{*rss, *pss};
}

std::optional<MemoryUse> readMemoryUse(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parseSmapsRollup(text.str());
}

int countOtherMappers(pid_t pid, std::string_view library)
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos || name == std::to_string(pid)) {
            continue;
        }
        std::ifstream maps(entry.path() / "maps");
        for (std::string line; std::getline(maps, line);) {
            if (line.find(library) != std::string::npos) {
                ++count;
                break;
            }
        }
    }
    return count;
}

} // namespace bench
