// Times one "Bereken" for outdoor and indoor storage against the floor of the outdoor
// calculation: 5 points x 802 bare CornerViewFactor calls (401 strip edges, each seen
// on both sides of the point's foot).

#include "calculate.h"
#include "calculation_state.h"
#include "corner_view_factor.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kStripCount = 400;

// The machine is shared and busy: the fastest of several repetitions is the figure
// that compares calculations, the mean mostly measures the neighbours.
double fastest(const std::vector<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

template<typename Benchmark> void configure(Benchmark *benchmark, benchmark::TimeUnit unit)
{
    benchmark->Unit(unit)->Repetitions(10)->ReportAggregatesOnly(true)->ComputeStatistics("min", fastest);
}

struct KernelArguments
{
    double distance;
    double height;
    double width;
};

// The very arguments the default outdoor calculation hands to the kernel, so that the
// baseline pays the same arctangents and powers.
std::vector<KernelArguments> defaultKernelArguments()
{
    engine::CalculationInput input;
    engine::CalculationState state;
    engine::Calculate(input, state);
    const double w1 = state.PointFraction * state.StorageWidth;
    const double w2 = (1 - state.PointFraction) * state.StorageWidth;
    std::vector<KernelArguments> arguments;
    for (double z : input.heights) {
        for (int i = 0; i <= kStripCount; ++i) {
            const double h = z - (i * state.FlameHeight) / kStripCount;
            arguments.push_back({state.PointDistance, h, w1});
            arguments.push_back({state.PointDistance, h, w2});
        }
    }
    return arguments;
}

void BM_KernelBaseline(benchmark::State &bench)
{
    const std::vector<KernelArguments> arguments = defaultKernelArguments();
    for (auto _ : bench) {
        for (const KernelArguments &a : arguments) {
            double value = engine::CornerViewFactor(a.distance, a.height, a.width);
            benchmark::DoNotOptimize(value);
        }
    }
    bench.counters["kernels"] = double(arguments.size());
}
BENCHMARK(BM_KernelBaseline)->Apply([](auto *b) { configure(b, benchmark::kMicrosecond); });

// The whole calculation of "Bereken" for the design values: five points outdoors,
// or the one point of a building.
template<bool Indoor> void BM_Calculation(benchmark::State &bench)
{
    engine::CalculationInput input;
    input.indoor = Indoor;
    engine::CalculationState state;
    for (auto _ : bench) {
        engine::CalculationResult result = engine::Calculate(input, state);
        benchmark::DoNotOptimize(result.levels.data());
        benchmark::DoNotOptimize(state);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Calculation<false>)->Name("BM_OutdoorCalculation")->Apply([](auto *b) {
    configure(b, benchmark::kMicrosecond);
});
BENCHMARK(BM_Calculation<true>)->Name("BM_IndoorCalculation")->Apply([](auto *b) {
    configure(b, benchmark::kNanosecond);
});

} // namespace

BENCHMARK_MAIN();
