// Times the site against one storage: the picture of a 200 x 200 grid over a site with
// three storages (and with one) against one storage's plan picture of the same size, and
// the boundary check of a 500 m boundary around three storages. Goals: the site's
// picture within 3 times the plan's, the check within 200 ms.

#include "field.h"
#include "site.h"
#include "site_check.h"
#include "site_map.h"

#include "design_site.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using bench_support::fastest;

template<typename Benchmark> void configure(Benchmark *benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true)->ComputeStatistics("min", fastest);
}

// Three design storages on a yard of 100 x 100 m (or the first one or two of them); the
// plot boundary 500 m around them.
engine::Site yard(int storages)
{
    engine::Site site = design_site::yardStorages(storages);
    site.boundary = {{{-25, -25}, {100, -25}, {100, 100}, {-25, 100}, {-25, -25}}};
    return site;
}

// The picture of one storage's plan: 200 x 200 points from 0.1 m to 40 m in front of the
// face and from 15 m beside one side to 15 m beside the other, at the five heights.
void BM_PlanPicture(benchmark::State &bench)
{
    const engine::CalculationInput storage;
    engine::FieldGrid grid;
    for (int i = 0; i < 200; ++i) {
        grid.x.push_back(0.1 + i * (39.9 / 199));
        grid.y.push_back(-15 + i * (40.0 / 199));
    }
    grid.heights.assign(storage.heights.begin(), storage.heights.end());
    engine::FieldOptions options;
    options.threads = static_cast<unsigned>(bench.range(0));
    for (auto _ : bench) {
        const engine::FieldResult field = engine::CalculateFieldPicture(storage, grid, options);
        benchmark::DoNotOptimize(field.levels.data());
    }
}
BENCHMARK(BM_PlanPicture)->ArgName("threads")->Arg(1)->Arg(0)->UseRealTime()->Apply([](auto *b) {
    configure(b);
});

// The site's picture: 200 x 200 points over the yard and 25 m around it.
void BM_SitePicture(benchmark::State &bench)
{
    const engine::Site site = yard(static_cast<int>(bench.range(0)));
    engine::SiteGrid grid;
    for (int i = 0; i < 200; ++i) {
        grid.x.push_back(-25 + i * (125.0 / 199));
        grid.y.push_back(-25 + i * (125.0 / 199));
    }
    engine::FieldOptions options;
    options.threads = static_cast<unsigned>(bench.range(1));
    for (auto _ : bench) {
        const engine::SiteMap map = engine::CalculateSitePicture(site, grid, options);
        benchmark::DoNotOptimize(map.levels.data());
    }
}
BENCHMARK(BM_SitePicture)
    ->ArgNames({"storages", "threads"})
    ->Args({1, 1})
    ->Args({3, 1})
    ->Args({3, 0})
    ->UseRealTime()
    ->Apply([](auto *b) { configure(b); });

// The boundary check of the yard: 500 m of boundary, three storages, twelve faces.
void BM_CheckSite(benchmark::State &bench)
{
    engine::Site site = yard(3);
    site.envelope = bench.range(1) != 0;
    engine::FieldOptions options;
    options.threads = static_cast<unsigned>(bench.range(0));
    for (auto _ : bench) {
        const engine::SiteCheck check = engine::CheckSite(site, '.', options);
        benchmark::DoNotOptimize(check.boundary.level);
    }
}
BENCHMARK(BM_CheckSite)
    ->ArgNames({"threads", "envelope"})
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({0, 1})
    ->UseRealTime()
    ->Apply([](auto *b) { configure(b); });

} // namespace

int main(int argc, char **argv)
{
    std::vector<char *> arguments(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    arguments.insert(arguments.begin() + 1, repetitions.data());
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
