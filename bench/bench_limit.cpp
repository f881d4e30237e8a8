// Times one answer of the limit check and of each solver for the design values, with
// and without the envelope of heights, and with a screen (the level rises again behind
// it, so the distance scan cannot stop early). Each answer should take at most 20 ms.

#include "limit.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// The machine is shared and busy: the fastest of several repetitions is the figure that
// compares, the mean mostly measures the neighbours.
double fastest(const std::vector<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

template<typename Benchmark> void configure(Benchmark *benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", fastest)
        ->ArgNames({"envelope"})
        ->Arg(0)
        ->Arg(1);
}

engine::CalculationInput screened()
{
    engine::CalculationInput input;
    input.screen = true;
    input.hs = 6;
    input.xs = 3;
    return input;
}

void BM_CheckLimit(benchmark::State &bench)
{
    const engine::CalculationInput input;
    for (auto _ : bench) {
        engine::LimitCheck check = engine::CheckLimit(input, 15, bench.range(0) != 0);
        benchmark::DoNotOptimize(check.highest);
    }
}
BENCHMARK(BM_CheckLimit)->Apply([](auto *b) { configure(b); });

template<engine::SolveQuantity Quantity, bool Screened> void BM_Solve(benchmark::State &bench)
{
    const engine::CalculationInput input = Screened ? screened() : engine::CalculationInput {};
    for (auto _ : bench) {
        engine::Solution solution = engine::Solve(input, Quantity, 15, bench.range(0) != 0);
        benchmark::DoNotOptimize(solution.value);
    }
}
BENCHMARK(BM_Solve<engine::SolveQuantity::Distance, false>)->Name("BM_SolveDistance")->Apply([](auto *b) {
    configure(b);
});
BENCHMARK(BM_Solve<engine::SolveQuantity::Distance, true>)
    ->Name("BM_SolveDistanceScreened")
    ->Apply([](auto *b) { configure(b); });
BENCHMARK(BM_Solve<engine::SolveQuantity::Height, false>)->Name("BM_SolveHeight")->Apply([](auto *b) {
    configure(b);
});
BENCHMARK(BM_Solve<engine::SolveQuantity::Width, false>)->Name("BM_SolveWidth")->Apply([](auto *b) {
    configure(b);
});

} // namespace

BENCHMARK_MAIN();
