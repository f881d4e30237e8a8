// Times what one change costs the plan view of the exploration window: the levels of
// the 200 x 200 grid (each the highest over the five heights) as the picture that is
// drawn first and exactly, the drawing with its contours, the picture and the drawing
// together, and the whole way from a change to the drawn plan through the window's runner
// (its 10 ms for taking changes together, the answers, the profiles, the plan). Offscreen.

#include "exploration.h"
#include "exploration_runner.h"
#include "view_painter.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "bench_support.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

using bench_support::wallClockRuns;

const QSize kViewSize(1000, 700);

explore::Exploration defaultExploration(bool envelope = false)
{
    explore::Exploration exploration;
    exploration.input.envelope = envelope;
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

explore::PlanMap planMap(const explore::Exploration &exploration, explore::PlanPrecision precision)
{
    explore::Refusal refusal;
    return explore::ComputePlanMap(exploration.input, exploration.extent, 200, refusal, {}, 0, precision);
}

// Arg 0: the picture; 1: the exact levels. Second arg 1: over the envelope of heights.
void BM_PlanLevels(benchmark::State &bench)
{
    const explore::Exploration exploration = defaultExploration(bench.range(1) != 0);
    const auto precision = bench.range(0) ? explore::PlanPrecision::Exact : explore::PlanPrecision::Picture;
    for (auto _ : bench) {
        const explore::PlanMap map = planMap(exploration, precision);
        benchmark::DoNotOptimize(map.grid.values.data());
    }
}

void BM_PlanDrawing(benchmark::State &bench)
{
    explore::Exploration exploration = defaultExploration();
    exploration.plan = planMap(exploration, explore::PlanPrecision::Exact);
    QImage image(kViewSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench)
        redraw(exploration, image);
}

// What the window's worker and painter do for the plan after a change of the storage.
void BM_PlanRecomputeAndRedraw(benchmark::State &bench)
{
    explore::Exploration exploration = defaultExploration(bench.range(0) != 0);
    QImage image(kViewSize, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : bench) {
        exploration.plan = planMap(exploration, explore::PlanPrecision::Picture);
        redraw(exploration, image);
    }
}

// From a change in the window to the plan drawn: each round moves the point a little, so
// that every request is a change, and stops the clock when the first plan is painted.
void BM_ChangeToDrawnPlan(benchmark::State &bench)
{
    explore::ExplorationRunner runner;
    QImage image(kViewSize, QImage::Format_ARGB32_Premultiplied);
    QEventLoop loop;
    QObject::connect(&runner, &explore::ExplorationRunner::updated, &loop,
                     [&](std::shared_ptr<const explore::Exploration> exploration) {
                         if (exploration->plan.resolution == 0)
                             return;
                         redraw(*exploration, image);
                         loop.quit();
                     });
    explore::ExplorationInput input;
    for (auto _ : bench) {
        input.storage.x = input.storage.x == 5 ? 5.5 : 5;
        QElapsedTimer clock;
        clock.start();
        runner.request(input);
        loop.exec();
        bench.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        // The exact levels follow; the next change should not wait behind them here.
        while (runner.busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    wallClockRuns(benchmark::RegisterBenchmark("PlanLevels/picture", BM_PlanLevels)->Args({0, 0}));
    wallClockRuns(benchmark::RegisterBenchmark("PlanLevels/exact", BM_PlanLevels)->Args({1, 0}));
    wallClockRuns(benchmark::RegisterBenchmark("PlanLevels/picture/envelope", BM_PlanLevels)->Args({0, 1}));
    wallClockRuns(benchmark::RegisterBenchmark("PlanLevels/exact/envelope", BM_PlanLevels)->Args({1, 1}));
    wallClockRuns(benchmark::RegisterBenchmark("PlanDrawing", BM_PlanDrawing));
    wallClockRuns(benchmark::RegisterBenchmark("PlanRecomputeAndRedraw", BM_PlanRecomputeAndRedraw)->Arg(0));
    wallClockRuns(
        benchmark::RegisterBenchmark("PlanRecomputeAndRedraw/envelope", BM_PlanRecomputeAndRedraw)->Arg(1));
    wallClockRuns(benchmark::RegisterBenchmark("ChangeToDrawnPlan", BM_ChangeToDrawnPlan), true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
