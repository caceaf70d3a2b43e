#pragma once

#include <algorithm>
#include <optional>
#include <vector>

namespace bench {

// The middle value; for an even count, the mean of the two middle ones.
inline std::optional<double> median(std::vector<double> samples)
{
    if (samples.empty()) {
        return std::nullopt;
    }
    std::sort(samples.begin(), samples.end());
    const std::size_t half = samples.size() / 2;
    if (samples.size() % 2 == 1) {
        return samples[half];
    }
    return (samples[half - 1] + samples[half]) / 2;
}

inline std::optional<double> minimum(const std::vector<double>& samples)
{
    if (samples.empty()) {
        return std::nullopt;
    }
    return *std::min_element(samples.begin(), samples.end());
}

} // namespace bench
