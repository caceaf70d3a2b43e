// The number texts beside the C library call each one rests on.
#include "calc/NumberText.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<long double> sampleValues()
{
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<long double> mantissa(1, 10);
    std::uniform_int_distribution<int> exponent(-6, 14);
    std::vector<long double> values(1024);
    for (auto& v : values) {
        v = mantissa(rng);
        for (int e = exponent(rng); e > 0; --e) {
            v *= 10;
        }
        for (int e = exponent(rng); e < 0; ++e) {
            v /= 10;
        }
    }
    return values;
}

std::vector<std::string> sampleTexts()
{
    std::vector<std::string> texts;
    for (const long double v : sampleValues()) {
        texts.push_back(calc::GeneralText(v));
    }
    return texts;
}

void LibcPrintf(benchmark::State& state)
{
    const auto values = sampleValues();
    char buffer[48];
    std::size_t i = 0;
    for (auto _ : state) {
        std::snprintf(buffer, sizeof buffer, "%.17Le", values[i++ & 1023]);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(LibcPrintf);

void GeneralText(benchmark::State& state)
{
    const auto values = sampleValues();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::GeneralText(values[i++ & 1023]));
    }
}
BENCHMARK(GeneralText);

void FixedText(benchmark::State& state)
{
    const auto values = sampleValues();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::FixedText(values[i++ & 1023], 12));
    }
}
BENCHMARK(FixedText);

void LibcStrtold(benchmark::State& state)
{
    const auto texts = sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtold(texts[i++ & 1023].c_str(), nullptr));
    }
}
BENCHMARK(LibcStrtold);

void ParseNumber(benchmark::State& state)
{
    const auto texts = sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::ParseNumber(texts[i++ & 1023]));
    }
}
BENCHMARK(ParseNumber);

} // namespace
