// Times one answer of the limit check and of each solver for the design values, with
// and without the envelope of heights, and with a screen (the level rises again behind
// it, so the distance scan cannot stop early). Each answer should take at most 20 ms.
// Then inputs far outside any storage, whose work must stay bounded (goal: under 2 s).

#include "limit.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using bench_support::fastest;

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

// Inputs the front ends refuse, which the engine must still answer or refuse in bounded
// time; and the slowest answer found within the method's ranges (a far distance behind a
// high screen, every height to 100 m, a limit of 0.1 kW/m²).
struct Absurd
{
    const char *name;
    engine::CalculationInput input;
    bool solve;
    engine::SolveQuantity quantity;
    double limit;
};

std::vector<Absurd> absurdInputs()
{
    engine::CalculationInput high;
    high.heights = {2.5, 5, 7.5, 10, 1e17};
    engine::CalculationInput screenFar;
    screenFar.screen = true;
    screenFar.hs = 1;
    screenFar.xs = 1e17;
    engine::CalculationInput farAlong;
    farAlong.y = 1e300;
    engine::CalculationInput highScreen = high;
    highScreen.screen = true;
    highScreen.hs = 100;
    highScreen.xs = 1;
    engine::CalculationInput hugePile = high;
    hugePile.H = 1.5e11;
    hugePile.D = 1.5e11;
    hugePile.screen = true;
    hugePile.hs = 1e11;
    hugePile.xs = 0.7;
    hugePile.K = 0.7;
    engine::CalculationInput slowest;
    slowest.B = 10000;
    slowest.D = 10000;
    slowest.H = 15;
    slowest.y = 5000;
    slowest.screen = true;
    slowest.hs = 20;
    slowest.xs = 2;
    slowest.K = 0.5;
    slowest.heights = {2.5, 5, 7.5, 10, 100};
    return {{"check, a point at 1e17 m", high, false, engine::SolveQuantity::Distance, 44.9},
            {"check, a point at 1e17 m above a 100 m screen", highScreen, false,
             engine::SolveQuantity::Distance, 15},
            {"distance, a screen at 1e17 m", screenFar, true, engine::SolveQuantity::Distance, 15},
            {"width, y 1e300", farAlong, true, engine::SolveQuantity::Width, 15},
            {"distance, a pile of 1.5e11 m", hugePile, true, engine::SolveQuantity::Distance, 15},
            {"distance, the slowest in range", slowest, true, engine::SolveQuantity::Distance, 0.1}};
}

void BM_Absurd(benchmark::State &bench)
{
    const Absurd absurd = absurdInputs()[std::size_t(bench.range(0))];
    for (auto _ : bench) {
        if (absurd.solve) {
            engine::Solution solution = engine::Solve(absurd.input, absurd.quantity, absurd.limit, true);
            benchmark::DoNotOptimize(solution.value);
        } else {
            engine::LimitCheck check = engine::CheckLimit(absurd.input, absurd.limit, true);
            benchmark::DoNotOptimize(check.highest);
        }
    }
    bench.SetLabel(absurd.name);
}
BENCHMARK(BM_Absurd)
    ->ArgName("input")
    ->DenseRange(0, 5)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("min", fastest)
    ->MeasureProcessCPUTime();

} // namespace

BENCHMARK_MAIN();
