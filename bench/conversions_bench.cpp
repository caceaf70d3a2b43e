// The number texts, and the extended value's two backends side by side:
// GNU MPFR, which every CPU can run, here; the x87 and the C library calls
// it rests on in conversions_bench_x87.cpp, where there is one.
#include "bench/number_backend_bench.h"
#include "calc/NumberText.h"

namespace {

using bench::BackendAdd;
using bench::BackendDigits;
using bench::BackendDivide;
using bench::BackendRead;
using bench::kSamples;

void GeneralText(benchmark::State& state)
{
    const auto values = bench::sampleValues<calc::MpfrNumbers>();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::GeneralText(values[i++ % kSamples]));
    }
}
BENCHMARK(GeneralText);

void FixedText(benchmark::State& state)
{
    const auto values = bench::sampleValues<calc::MpfrNumbers>();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::FixedText(values[i++ % kSamples], 12));
    }
}
BENCHMARK(FixedText);

void ParseNumber(benchmark::State& state)
{
    const auto texts = bench::sampleTexts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::ParseNumber(texts[i++ % kSamples]));
    }
}
BENCHMARK(ParseNumber);

using calc::MpfrNumbers;
BENCHMARK_TEMPLATE(BackendAdd, MpfrNumbers);
BENCHMARK_TEMPLATE(BackendDivide, MpfrNumbers);
BENCHMARK_TEMPLATE(BackendDigits, MpfrNumbers);
BENCHMARK_TEMPLATE(BackendRead, MpfrNumbers);

} // namespace
