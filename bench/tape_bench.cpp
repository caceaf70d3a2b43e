// The core's cost per key as the tape grows, and its memory per tape line.
// Repeated equals on "1 + 1" writes five lines a calculation; the tape
// reaches 5,000,000 lines after 1,000,000 calculations.
#include "calc/Calculator.h"

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSamples = 301;

calc::Calculator startedCalculator()
{
    calc::Calculator c;
    c.FormShow();
    for (const calc::Key key : {calc::Key::D1, calc::Key::Add, calc::Key::D1, calc::Key::Equal}) {
        c.press(key);
    }
    return c;
}

void growTo(calc::Calculator& c, long calculations)
{
    while (static_cast<long>(c.tape().count()) < calculations * 5) {
        c.press(calc::Key::Equal);
    }
}

double nanosecondsOfOneEquals(calc::Calculator& c)
{
    const auto start = Clock::now();
    c.press(calc::Key::Equal);
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
}

double median(std::vector<double> samples)
{
    std::nth_element(samples.begin(), samples.begin() + samples.size() / 2, samples.end());
    return samples[samples.size() / 2];
}

// Median cost of one equals on a tape of `calculations` calculations. Short
// tapes get a fresh calculator per sample so that the samples do not grow them.
double costPerKey(long calculations, calc::Calculator& longLived)
{
    std::vector<double> samples;
    if (calculations < 10000) {
        for (int i = 0; i < kSamples; ++i) {
            calc::Calculator c = startedCalculator();
            growTo(c, calculations);
            samples.push_back(nanosecondsOfOneEquals(c));
        }
    } else {
        growTo(longLived, calculations);
        for (int i = 0; i < kSamples; ++i) {
            samples.push_back(nanosecondsOfOneEquals(longLived));
        }
    }
    return median(std::move(samples));
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

} // namespace

int main()
{
    const std::size_t heapBefore = heapInUse();
    calc::Calculator c = startedCalculator();

    std::printf("core: median cost of one key (equals) as the tape grows\n");
    std::printf("%14s %14s %12s\n", "calculations", "tape lines", "ns per key");
    double first = 0;
    double last = 0;
    for (const long calculations : {10L, 1000L, 100000L, 1000000L}) {
        last = costPerKey(calculations, c);
        first = first == 0 ? last : first;
        std::printf("%14ld %14ld %12.0f\n", calculations, calculations * 5, last);
    }
    std::printf("flatness: last / first = %.2f (goal <= 1.5); last = %.2f us (goal < 20 us)\n",
                last / first, last / 1000);

    growTo(c, 1'000'000);
    const std::size_t lines = c.tape().count();
    const double heapPerLine = static_cast<double>(heapInUse() - heapBefore) / static_cast<double>(lines);
    const double storePerLine = static_cast<double>(c.tape().memoryBytes()) / static_cast<double>(lines);
    std::printf("memory at %zu lines: %.1f bytes per line on the heap, %.1f held by the tape "
                "(goal <= 40)\n", lines, heapPerLine, storePerLine);
    return 0;
}
