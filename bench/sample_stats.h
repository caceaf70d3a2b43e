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

// The value a fraction `q` of the way through the sorted samples, between
// neighbours in proportion: quantile({1, 2, 3, 4}, 0.25) -> 1.75, as R's
// default and numpy's do it. quantile(s, 0.5) is the median.
inline std::optional<double> quantile(std::vector<double> samples, double q)
{
    if (samples.empty() || !(q >= 0 && q <= 1)) {
        return std::nullopt;
    }
    std::sort(samples.begin(), samples.end());
    const double rank = q * static_cast<double>(samples.size() - 1);
    const auto below = static_cast<std::size_t>(rank);
    if (below + 1 >= samples.size()) {
        return samples.back();
    }
    const double above = rank - static_cast<double>(below);
    return samples[below] + above * (samples[below + 1] - samples[below]);
}

// a[i] / b[i] in each round i where both have a figure and b's is not 0:
// paired ratios, which cancel what slows both programs in one round.
inline std::vector<double> pairedRatios(
    const std::vector<std::optional<double>>& a, const std::vector<std::optional<double>>& b)
{
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] && b[i] && *b[i] != 0) {
            ratios.push_back(*a[i] / *b[i]);
        }
    }
    return ratios;
}

inline std::optional<double> minimum(const std::vector<double>& samples)
{
    if (samples.empty()) {
        return std::nullopt;
    }
    return *std::min_element(samples.begin(), samples.end());
}

} // namespace bench
