#pragma once

// The median cost of one key as the tape grows, printed as a table. Shared
// by the core's and the window's tape benchmarks.

#include "sample_stats.h"

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <vector>

namespace bench {

inline constexpr long kLinesPerCalculation = 5; // a repeated equals writes five lines
inline constexpr int kSamples = 301;

// Subject: started by `make()`, grown and timed by `press(subject)`, its tape
// length read by `lines(subject)`. Short tapes get a fresh subject per sample
// so that sampling does not grow them. Returns the last figure over the first.
template <class Make, class Press, class Lines>
double printKeyCostTable(const char* title, Make make, Press press, Lines lines)
{
    using Clock = std::chrono::steady_clock;
    const auto growTo = [&](auto& subject, long calculations) {
        while (static_cast<long>(lines(subject)) < calculations * kLinesPerCalculation) {
            press(subject);
        }
    };
    const auto timeOne = [&](auto& subject) {
        const auto start = Clock::now();
        press(subject);
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    };

    std::printf("%s: median cost of one key (equals) as the tape grows\n", title);
    std::printf("%14s %14s %12s\n", "calculations", "tape lines", "ns per key");
    auto longLived = make();
    double first = 0;
    double last = 0;
    for (const long calculations : {10L, 1000L, 100000L, 1000000L}) {
        std::vector<double> samples;
        if (calculations < 10000) {
            for (int i = 0; i < kSamples; ++i) {
                auto subject = make();
                growTo(*subject, calculations);
                samples.push_back(timeOne(*subject));
            }
        } else {
            growTo(*longLived, calculations);
            for (int i = 0; i < kSamples; ++i) {
                samples.push_back(timeOne(*longLived));
            }
        }
        last = median(std::move(samples)).value_or(0);
        first = first == 0 ? last : first;
        std::printf("%14ld %14ld %12.0f\n", calculations, calculations * kLinesPerCalculation, last);
    }
    std::printf("flatness: last / first = %.2f (goal <= 1.5); last = %.2f us per key\n", last / first, last / 1000);
    return last / first;
}

} // namespace bench
