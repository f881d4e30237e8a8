#pragma once

// What the benchmarks share. The machine is shared and busy: the fastest of several
// repetitions is the figure that compares, the mean mostly measures the neighbours.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace bench_support {

inline double fastest(const std::vector<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

// Five repetitions in milliseconds, with their fastest: of the wall clock, or with `manual`
// of the time that the benchmark itself measures (from a change to its drawn answer).
template<typename Benchmark> void wallClockRuns(Benchmark *benchmark, bool manual = false)
{
    if (manual)
        benchmark->UseManualTime();
    else
        benchmark->UseRealTime();
    benchmark->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", fastest);
}

} // namespace bench_support
