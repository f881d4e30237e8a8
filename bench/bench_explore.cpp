// Times what one change costs the plan view of the exploration window: the levels of
// the grid (each the highest over the five heights), the picture with its contours, and
// both together, at the full 200 x 200 and at the 50 x 50 that the window shows first.
// Runs offscreen.

#include "exploration.h"
#include "view_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

const QSize kViewSize(1000, 700);

double fastest(const std::vector<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

explore::Exploration defaultExploration()
{
    explore::Exploration exploration;
    exploration.answers = explore::ComputeAnswers(exploration.input, exploration.refusal);
    exploration.hasAnswers = true;
    exploration.extent = explore::PlanExtentFor(exploration.input, exploration.answers);
    exploration.planFinal = true;
    return exploration;
}

void redraw(const explore::Exploration &exploration, QImage &image)
{
    QPainter painter(&image);
    explore::PaintPlan(painter, QRectF(QPointF(0, 0), kViewSize), exploration, QLocale());
}

void BM_PlanLevels(benchmark::State &bench)
{
    explore::Exploration exploration = defaultExploration();
    for (auto _ : bench) {
        explore::Refusal refusal;
        exploration.plan =
            explore::ComputePlanMap(exploration.input, exploration.extent, int(bench.range(0)), refusal);
        benchmark::DoNotOptimize(exploration.plan.grid.values.data());
    }
}

void BM_PlanPicture(benchmark::State &bench)
{
    explore::Exploration exploration = defaultExploration();
    explore::Refusal refusal;
    exploration.plan =
        explore::ComputePlanMap(exploration.input, exploration.extent, int(bench.range(0)), refusal);
    QImage image(kViewSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench)
        redraw(exploration, image);
}

// What the window does after a change of the storage: new levels, then the picture.
void BM_PlanRecomputeAndRedraw(benchmark::State &bench)
{
    explore::Exploration exploration = defaultExploration();
    QImage image(kViewSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        explore::Refusal refusal;
        exploration.plan =
            explore::ComputePlanMap(exploration.input, exploration.extent, int(bench.range(0)), refusal);
        redraw(exploration, image);
    }
}

template<typename Benchmark> void configure(Benchmark *benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(5)
        ->ReportAggregatesOnly(true)
        ->ComputeStatistics("min", fastest);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    for (int resolution : {50, 200}) {
        configure(benchmark::RegisterBenchmark("PlanLevels", BM_PlanLevels)->Arg(resolution));
        configure(benchmark::RegisterBenchmark("PlanPicture", BM_PlanPicture)->Arg(resolution));
        configure(benchmark::RegisterBenchmark("PlanRecomputeAndRedraw", BM_PlanRecomputeAndRedraw)
                      ->Arg(resolution));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
