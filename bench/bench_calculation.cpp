// Times one "Bereken" for outdoor and indoor storage against the floor of the outdoor
// calculation: 5 points x 802 corner view factors (401 strip edges, each seen on both
// sides of the point's foot), vectorised; the arctangent libraries side by side (when the
// benchmark is built with SLEEF); and a plan grid of 200 x 200 points in front of the
// default storage.

#include "calculate.h"
#include "calculation_state.h"
#include "corner_view_factor.h"
#include "field.h"
#include "kernel.h"

#if WARMTEGLOED_BENCH_ATAN
#include "bench_atan.h"
#endif

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using bench_support::fastest;

constexpr int kStripCount = 400;

// Ten repetitions unless --benchmark_repetitions says otherwise, with their fastest.
template<typename Benchmark> void configure(Benchmark *benchmark, benchmark::TimeUnit unit)
{
    benchmark->Unit(unit)->ReportAggregatesOnly(true)->ComputeStatistics("min", fastest);
}

// The strip edges as the default outdoor calculation sees them: per point one array of
// heights, kernel-evaluated once for each of the two widths.
struct KernelWork
{
    double distance = 0;
    double widths[2] = {0, 0};
    std::vector<std::vector<double>> heights;
};

KernelWork defaultKernelWork()
{
    engine::CalculationInput input;
    engine::CalculationState state;
    engine::Calculate(input, state);
    KernelWork work;
    work.distance = state.PointDistance;
    work.widths[0] = state.PointFraction * state.StorageWidth;
    work.widths[1] = (1 - state.PointFraction) * state.StorageWidth;
    for (double z : input.heights) {
        std::vector<double> edges;
        for (int i = 0; i <= kStripCount; ++i)
            edges.push_back(z - (i * state.FlameHeight) / kStripCount);
        work.heights.push_back(edges);
    }
    return work;
}

using Kernel = void (*)(double distance, double width, const double *heights, double *out, std::size_t count);

void runKernels(benchmark::State &bench, Kernel kernel)
{
    const KernelWork work = defaultKernelWork();
    std::vector<double> out(kStripCount + 1);
    for (auto _ : bench) {
        for (const std::vector<double> &edges : work.heights) {
            for (double width : work.widths) {
                kernel(work.distance, width, edges.data(), out.data(), edges.size());
                benchmark::DoNotOptimize(out.data());
            }
        }
        benchmark::ClobberMemory();
    }
    bench.counters["kernels"] = double(work.heights.size() * 2 * (kStripCount + 1));
}

// The vectorised floor of the outdoor calculation: the engine's own kernel.
void BM_KernelBaseline(benchmark::State &bench)
{
    runKernels(bench, &engine::CornerViewFactors);
    bench.SetLabel(std::string("Highway on ") + engine::KernelTargetName());
}
BENCHMARK(BM_KernelBaseline)->Apply([](auto *b) { configure(b, benchmark::kMicrosecond); });

#if WARMTEGLOED_BENCH_ATAN
// The same kernel with each arctangent library, on the widest set of AVX2 and AVX-512 the
// processor runs. Highway's polynomial is inlined and takes arguments the kernel has
// reduced to [0, 1] without a division; the libraries are calls that reduce and divide
// inside. With AVX-512 that made the kernel about a quarter faster than either library.
void BM_KernelAtan(benchmark::State &bench)
{
    const bench_atan::KernelSet *set = bench_atan::bestSet();
    if (!set) {
        bench.SkipWithError("this processor has neither AVX2 nor AVX-512");
        return;
    }
    const auto library = static_cast<bench_atan::Library>(bench.range(0));
    runKernels(bench, set->kernels[bench.range(0)]);
    bench.SetLabel(std::string(bench_atan::libraryName(library)) + " on " + set->name);
}
BENCHMARK(BM_KernelAtan)->ArgName("library")->DenseRange(0, bench_atan::kLibraries - 1)->Apply([](auto *b) {
    configure(b, benchmark::kMicrosecond);
});
#endif

// The same kernels one by one with the scalar mathematics library, as the engine once did.
void BM_KernelScalar(benchmark::State &bench)
{
    const KernelWork work = defaultKernelWork();
    for (auto _ : bench) {
        for (const std::vector<double> &edges : work.heights) {
            for (double width : work.widths) {
                for (double h : edges) {
                    double value = engine::CornerViewFactor(work.distance, h, width);
                    benchmark::DoNotOptimize(value);
                }
            }
        }
    }
}
BENCHMARK(BM_KernelScalar)->Apply([](auto *b) { configure(b, benchmark::kMicrosecond); });

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
    bench.SetLabel(engine::KernelTargetName());
}
BENCHMARK(BM_Calculation<false>)->Name("BM_OutdoorCalculation")->Apply([](auto *b) {
    configure(b, benchmark::kMicrosecond);
});
BENCHMARK(BM_Calculation<true>)->Name("BM_IndoorCalculation")->Apply([](auto *b) {
    configure(b, benchmark::kNanosecond);
});

// A plan map: 200 x 200 points at 2 m height, from 0.5 m to 50 m in front of the default
// storage and from 20 m beside one side to 20 m beside the other, on all cores.
void BM_FieldGrid200x200(benchmark::State &bench)
{
    const engine::CalculationInput storage;
    std::vector<engine::FieldPoint> points;
    for (int i = 0; i < 200; ++i) {
        for (int j = 0; j < 200; ++j)
            points.push_back({0.5 + i * 0.25, -20 + j * (50.0 / 199), 2});
    }
    engine::FieldOptions options;
    options.threads = static_cast<unsigned>(bench.range(0));
    for (auto _ : bench) {
        engine::FieldResult field = engine::CalculateField(storage, points, '.', options);
        benchmark::DoNotOptimize(field.levels.data());
    }
    bench.SetLabel(engine::KernelTargetName());
}
BENCHMARK(BM_FieldGrid200x200)->ArgName("threads")->Arg(0)->Arg(1)->UseRealTime()->Apply([](auto *b) {
    configure(b, benchmark::kMillisecond);
});

} // namespace

#if WARMTEGLOED_BENCH_ATAN
const char *bench_atan::libraryName(Library library)
{
    switch (library) {
    case Library::SleefU10:
        return "SLEEF u10";
    case Library::SleefU35:
        return "SLEEF u35";
    case Library::Libmvec:
        return "glibc libmvec";
    case Library::Highway:
        return "Highway";
    }
    return "";
}

// Here, compiled for any x86-64, not in the files compiled for the wider sets.
const bench_atan::KernelSet *bench_atan::bestSet()
{
    __builtin_cpu_init();
    const bool avx2 =
        __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi2");
    if (avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")
        && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw"))
        return &kAvx512;
    return avx2 ? &kAvx2 : nullptr;
}
#endif

int main(int argc, char **argv)
{
    std::vector<char *> arguments(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=10";
    arguments.insert(arguments.begin() + 1, repetitions.data());
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("kernel_target", engine::KernelTargetName());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
