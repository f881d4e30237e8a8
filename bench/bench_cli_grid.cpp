// The command-line calculator's biggest table, the 1000 x 1000 grid in front of the design
// storage: its computation alone (the points and their levels) against the whole of
// warmtegloed-cli --grid's work (the same computation and the CSV, written to /dev/null).
// The goal: the CSV costs at most 30 % on top of the physics.

#include "limit_options.h"
#include "tables.h"

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using bench_support::fastest;

struct Grid
{
    cli::Range x;
    cli::Range y;
    engine::CalculationInput storage;

    Grid()
    {
        QString error;
        cli::parseRange(engine::kDistanceRange, QStringLiteral("1:1000:1"), QStringLiteral("grid"), x, error);
        cli::parseRange(engine::kPositionRange, QStringLiteral("0:999:1"), QStringLiteral("grid"), y, error);
    }

    void compute(cli::GridTable &table) const
    {
        QString error;
        cli::gridTable(storage, x, y, storage.heights[0], table, error);
    }
};

void BM_GridComputation(benchmark::State &bench)
{
    const Grid grid;
    for (auto _ : bench) {
        cli::GridTable table;
        grid.compute(table);
        benchmark::DoNotOptimize(table.levels.data());
    }
}

// The CSV goes where the program's answer goes, stdout, pointed at /dev/null while timing.
void BM_GridCsv(benchmark::State &bench)
{
    const Grid grid;
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    for (auto _ : bench) {
        cli::GridTable table;
        grid.compute(table);
        cli::writeGridCsv(table);
        std::fflush(stdout);
    }
    ::dup2(saved, STDOUT_FILENO);
    ::close(null);
    ::close(saved);
}

template<typename Benchmark> void configure(Benchmark *benchmark)
{
    // The machine is shared: the processor time of all the program's threads is the figure
    // that compares; the wall clock mostly measures the neighbours.
    benchmark->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", fastest);
}

} // namespace

BENCHMARK(BM_GridComputation)->Apply([](auto *b) { configure(b); });
BENCHMARK(BM_GridCsv)->Apply([](auto *b) { configure(b); });

BENCHMARK_MAIN();
