#pragma once

// The extended value's operations and conversions, timed for one backend
// (calc/ExtendedBackends.h): BENCHMARK_TEMPLATE(BackendAdd, calc::MpfrNumbers).
#include "calc/ExtendedBackends.h"

#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace bench {

constexpr std::size_t kSamples = 1024;

// Amounts as a user keys them, 1E-6 to 1E15, as texts and values.
inline std::vector<std::string> sampleTexts()
{
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(-6, 14);
    std::vector<std::string> texts(kSamples);
    for (auto& text : texts) {
        text = std::to_string(1 + digit(rng) % 9) + ".";
        for (int i = 0; i < 12; ++i) {
            text += static_cast<char>('0' + digit(rng));
        }
        text += "e" + std::to_string(exponent(rng));
    }
    return texts;
}

template <class Numbers>
std::vector<calc::Extended> sampleValues()
{
    std::vector<calc::Extended> values;
    for (const std::string& text : sampleTexts()) {
        values.push_back(Numbers::decimalValue(text));
    }
    return values;
}

template <class Numbers, calc::Extended (*Operation)(calc::Extended, calc::Extended)>
void timeOperation(benchmark::State& state)
{
    const auto values = sampleValues<Numbers>();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Operation(values[i % kSamples], values[(i + 1) % kSamples]));
        ++i;
    }
}

template <class Numbers>
void BackendAdd(benchmark::State& state)
{
    timeOperation<Numbers, Numbers::add>(state);
}

template <class Numbers>
void BackendDivide(benchmark::State& state)
{
    timeOperation<Numbers, Numbers::divide>(state);
}

template <class Numbers>
void BackendDigits(benchmark::State& state)
{
    const auto values = sampleValues<Numbers>();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Numbers::significantDigits(values[i++ % kSamples]));
    }
}

template <class Numbers>
void BackendRead(benchmark::State& state)
{
    const auto texts = sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Numbers::decimalValue(texts[i++ % kSamples]));
    }
}

} // namespace bench
