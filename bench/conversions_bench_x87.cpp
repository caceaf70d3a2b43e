// The x87 backend, and the C library calls its conversions rest on.
#include "bench/number_backend_bench.h"

#include <cstdio>
#include <cstdlib>

namespace {

using bench::BackendAdd;
using bench::BackendDigits;
using bench::BackendDivide;
using bench::BackendRead;
using bench::kSamples;
using calc::X87Numbers;

BENCHMARK_TEMPLATE(BackendAdd, X87Numbers);
BENCHMARK_TEMPLATE(BackendDivide, X87Numbers);
BENCHMARK_TEMPLATE(BackendDigits, X87Numbers);
BENCHMARK_TEMPLATE(BackendRead, X87Numbers);

void LibcPrintf(benchmark::State& state)
{
    std::vector<long double> values;
    for (const calc::Extended x : bench::sampleValues<X87Numbers>()) {
        values.push_back(X87Numbers::toLongDouble(x));
    }
    char buffer[48];
    std::size_t i = 0;
    for (auto _ : state) {
        std::snprintf(buffer, sizeof buffer, "%.17Le", values[i++ % kSamples]);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(LibcPrintf);

void LibcStrtold(benchmark::State& state)
{
    const auto texts = bench::sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::strtold(texts[i++ % kSamples].c_str(), nullptr));
    }
}
BENCHMARK(LibcStrtold);

} // namespace
