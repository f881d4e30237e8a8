// The vectorised engine against the straightforward scalar form over a random sweep of
// storages and points, on the SSE2 baseline and on the processor's best instruction set;
// the many-points function and its single-precision picture against single calculations;
// the choice of instruction set.

#include "calculate.h"
#include "field.h"
#include "kernel.h"
#include "scalar_reference.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <random>
#include <time.h>

namespace {

using Input = engine::CalculationInput;
using State = engine::CalculationState;

constexpr int kScenariosPerFamily = 1700; // six families: 10,200 scenarios

// A family of random scenarios: the ranges each input is drawn from.
struct Family
{
    bool indoor = false;
    bool compact = false;
    bool screen = false;
    double widthMin = 1, widthMax = 30;
    double distanceMin = 0.05, distanceMax = 60;
    double besideMin = 0, besideMax = 0; // y beyond a side, as a multiple of the width
};

// Nanoseconds of processor time of all the program's threads.
qint64 processorTime()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

// Draws log-uniformly, so that close and far points are equally common.
double logUniform(std::mt19937_64 &random, double low, double high)
{
    return std::exp(std::uniform_real_distribution<double>(std::log(low), std::log(high))(random));
}

Input drawScenario(const Family &family, std::mt19937_64 &random)
{
    std::uniform_real_distribution<double> unit(0, 1);
    Input in;
    in.indoor = family.indoor;
    in.compact = family.compact;
    in.screen = family.screen;
    in.B = logUniform(random, family.widthMin, family.widthMax);
    in.D = logUniform(random, 1, 60);
    in.H = 0.5 + 14.5 * unit(random);
    in.x = logUniform(random, family.distanceMin, family.distanceMax);
    in.y = in.B * unit(random);
    if (family.besideMax > 0) {
        const double beyond =
            in.B * (family.besideMin + (family.besideMax - family.besideMin) * unit(random));
        in.y = unit(random) < 0.5 ? -beyond : in.B + beyond;
    }
    in.hs = 10 * unit(random);
    in.xs = in.x * unit(random);
    in.K = unit(random);
    for (double &z : in.heights)
        z = (2 * in.H + 10) * unit(random);
    return in;
}

QString describe(const Input &in, int point)
{
    return QString("B=%1 D=%2 H=%3 x=%4 y=%5 hs=%6 xs=%7 K=%8 z=%9 on ")
               .arg(exact(in.B), exact(in.D), exact(in.H), exact(in.x), exact(in.y), exact(in.hs),
                    exact(in.xs), exact(in.K), exact(in.heights[point]))
        + engine::KernelTargetName();
}

// A storage of the field tables: "indoor", "compact" and "screen" in `options` switch
// those on; the screen is 3 m high at 0.2 m and stops 70 %.
Input storageWith(const QString &options, double width)
{
    Input storage;
    storage.B = width;
    storage.indoor = options.contains("indoor");
    storage.compact = options.contains("compact");
    storage.screen = options.contains("screen");
    storage.hs = 3;
    storage.xs = 0.2;
    storage.K = 0.7;
    return storage;
}

} // namespace

Q_DECLARE_METATYPE(Family)

class TestField : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { engine::ForceBaselineKernel(false); }

    void kernelTarget()
    {
        engine::ForceBaselineKernel(true);
        QCOMPARE(QString(engine::KernelTargetName()), QString("SSE2"));
        engine::ForceBaselineKernel(false);
        const QString best = engine::KernelTargetName();
        QVERIFY2(best == "SSE2" || best == "AVX2" || best == "AVX-512", qPrintable(best));
        qInfo("best kernel target: %s", qPrintable(best));
    }

    // Every length from empty to past two AVX-512 vectors: the tail is computed, nothing
    // beyond it written.
    void kernel()
    {
        std::vector<double> heights;
        for (int i = 0; i < 19; ++i)
            heights.push_back(9.0 - i * 1.25);
        for (bool baseline : {true, false}) {
            engine::ForceBaselineKernel(baseline);
            for (std::size_t count = 0; count <= heights.size(); ++count) {
                std::vector<double> out(heights.size(), -7.0);
                engine::CornerViewFactors(3.0, 2.5, heights.data(), out.data(), count);
                for (std::size_t i = 0; i < heights.size(); ++i) {
                    const double expected =
                        i < count ? reference::cornerViewFactor(3.0, heights[i], 2.5) : -7.0;
                    QVERIFY2(
                        std::abs(out[i] - expected) <= 4e-15 * std::abs(expected),
                        qPrintable(QString("%1 of %2 on %3: %4 %5")
                                       .arg(i)
                                       .arg(count)
                                       .arg(engine::KernelTargetName(), exact(out[i]), exact(expected))));
                }
            }
        }
    }

    void sweep_data()
    {
        QTest::addColumn<Family>("family");
        QTest::newRow("outdoor, loose") << Family {};
        QTest::newRow("outdoor, compact") << Family {false, true};
        QTest::newRow("screen") << Family {false, false, true};
        QTest::newRow("long face, limited") << Family {false, false, false, 40, 400};
        QTest::newRow("beside the face") << Family {false, true, false, 1, 30, 0.05, 60, 0.01, 3};
        QTest::newRow("indoor") << Family {true, false, false, 1, 200, 0.05, 100};
    }

    // Identical texts and the same refusals on both instruction sets; the levels to
    // 1e-12 relative wherever the method itself determines them that well, that is where
    // the level is not a difference of view factors 500 times its size; and every
    // level to 1e-14 of that size.
    void sweep()
    {
        QFETCH(Family, family);
        std::mt19937_64 random(std::hash<std::string>()(QTest::currentDataTag()));
        int computed = 0;
        for (int n = 0; n < kScenariosPerFamily; ++n) {
            const Input in = drawScenario(family, random);
            State state;
            const engine::CalculationResult expected = reference::calculate(in, state);
            computed += expected.ok();
            std::vector<double> scales;
            for (std::size_t i = 0; i < expected.levels.size(); ++i)
                scales.push_back(reference::levelScale(state, in.heights[i], in));
            for (bool baseline : {true, false}) {
                engine::ForceBaselineKernel(baseline);
                const engine::CalculationResult result = engine::Calculate(in, state);
                QCOMPARE(result.status, expected.status);
                QCOMPARE(result.texts, expected.texts);
                for (std::size_t i = 0; i < result.levels.size(); ++i) {
                    const double difference = std::abs(result.levels[i] - expected.levels[i]);
                    const bool cancelling = scales[i] > 500 * std::abs(expected.levels[i]);
                    QVERIFY2(difference <= 1e-14 * scales[i]
                                 && (cancelling || difference <= 1e-12 * std::abs(expected.levels[i])),
                             qPrintable(exact(result.levels[i]) + " " + exact(expected.levels[i]) + " at "
                                        + describe(in, int(i))));
                }
            }
        }
        QVERIFY2(computed > kScenariosPerFamily / 2, "most scenarios can be computed");
    }

    void field_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<double>("width");
        QTest::addColumn<unsigned>("threads");
        QTest::newRow("defaults, one thread") << "" << 10.0 << 1u;
        QTest::newRow("compact with a screen, three threads") << "compact screen" << 10.0 << 3u;
        QTest::newRow("indoor, long face, threads as the machine has") << "indoor" << 120.0 << 0u;
    }

    // Each level is the level a window with that point gives, bit for bit, whatever the threads.
    void field()
    {
        QFETCH(QString, options);
        QFETCH(double, width);
        QFETCH(unsigned, threads);
        const Input storage = storageWith(options, width);
        // Many points, so that every thread gets a share.
        std::vector<engine::FieldPoint> points;
        for (int copy = 0; copy < 10; ++copy) {
            for (double x : {0.0, 0.3, 4.0, 25.0, 400.0}) {
                for (double y : {-30.0, 0.0, 0.25 * width, 0.5 * width, width, width + 7})
                    points.push_back({x, y, 1.5 + x / 10});
            }
        }
        engine::FieldOptions fieldOptions;
        fieldOptions.threads = threads;
        const engine::FieldResult field = engine::CalculateField(storage, points, '.', fieldOptions);
        QVERIFY2(field.ok(), field.message.c_str());
        QCOMPARE(field.levels.size(), points.size());
        State state;
        for (std::size_t i = 0; i < points.size(); ++i) {
            Input single = storage;
            single.x = points[i].x;
            single.y = points[i].y;
            single.heights = {points[i].z, 0, 0, 0, 0};
            const engine::CalculationResult result = engine::Calculate(single, state);
            QVERIFY2(result.ok(), result.message.c_str());
            QCOMPARE(exact(field.levels[i]), exact(result.levels.front()));
        }
    }

    void picture_data()
    {
        QTest::addColumn<QString>("options");
        QTest::addColumn<double>("width");
        QTest::addColumn<bool>("baseline");
        QTest::newRow("defaults") << "" << 10.0 << false;
        QTest::newRow("compact with a screen, on the baseline") << "compact screen" << 10.0 << true;
        QTest::newRow("face longer than it counts") << "" << 120.0 << false;
        QTest::newRow("indoor") << "indoor" << 30.0 << false;
    }

    // The picture's highest levels against those of single points, at every node of a grid
    // with rows on either side of the face and mirror images of each other, from the 0.1 m
    // where the plan starts (nearer, the micrometre between mirror images shows at a side).
    void picture()
    {
        QFETCH(QString, options);
        QFETCH(double, width);
        QFETCH(bool, baseline);
        engine::ForceBaselineKernel(baseline);
        const Input storage = storageWith(options, width);
        engine::FieldGrid grid;
        grid.x = {0.1, 0.3, 1.7, 4.0, 25.0, 400.0};
        grid.y = {-30, 0, 0.1 * width, 0.5 * width, 0.9 * width, width, width + 30};
        grid.heights = {1.5, 6, 14};
        const engine::FieldResult picture = engine::CalculateFieldPicture(storage, grid);
        QVERIFY2(picture.ok(), picture.message.c_str());
        std::vector<engine::FieldPoint> points;
        for (double y : grid.y) {
            for (double x : grid.x) {
                for (double z : grid.heights)
                    points.push_back({x, y, z});
            }
        }
        const engine::FieldResult exactLevels = engine::CalculateField(storage, points);
        QVERIFY2(exactLevels.ok(), exactLevels.message.c_str());
        std::vector<double> highest;
        for (std::size_t p = 0; p < points.size(); p += grid.heights.size())
            highest.push_back(*std::max_element(&exactLevels.levels[p], &exactLevels.levels[p] + 3));
        const double top = *std::max_element(highest.begin(), highest.end());
        QCOMPARE(picture.levels.size(), highest.size());
        for (std::size_t i = 0; i < highest.size(); ++i) {
            QVERIFY2(std::abs(picture.levels[i] - highest[i]) <= 1e-5 * top,
                     qPrintable(exact(picture.levels[i]) + " " + exact(highest[i]) + " at node " + exact(i)));
        }
    }

    void cancelling_data()
    {
        QTest::addColumn<bool>("picture"); // CalculateFieldPicture, else CalculateFieldHighest
        QTest::newRow("exact levels") << false;
        QTest::newRow("picture") << true;
    }

    // A yes from `cancelled` stops every thread at its next chunk, not only the one that
    // asks: a grid cancelled at its second question takes a small part of the whole
    // grid's time (helpers that ran on would take about all of it). The time is the
    // processor time of all threads, which a busy machine does not stretch by keeping a
    // thread waiting.
    void cancelling()
    {
        QFETCH(bool, picture);
        engine::FieldGrid grid;
        for (int i = 0; i < 200; ++i)
            grid.x.push_back(0.5 + 0.25 * i);
        for (int j = 0; j < (picture ? 200 : 40); ++j)
            grid.y.push_back(-20 + 0.25 * j);
        grid.heights = {2};
        engine::FieldOptions options;
        options.threads = 4;
        const auto run = [&](const std::function<bool()> &cancelled) {
            return picture ? engine::CalculateFieldPicture(Input(), grid, options, cancelled)
                           : engine::CalculateFieldHighest(Input(), grid, options, cancelled);
        };
        // The fastest of a few runs: the machine may be busy with other work.
        const auto fastest = [&](const std::function<bool()> &cancelled, std::size_t &levels) {
            qint64 best = std::numeric_limits<qint64>::max();
            for (int repeat = 0; repeat < 5; ++repeat) {
                const qint64 start = processorTime();
                const engine::FieldResult field = run(cancelled);
                best = std::min(best, processorTime() - start);
                levels = field.levels.size();
                if (!field.ok())
                    return qint64(-1);
            }
            return best;
        };
        std::size_t levels = 0;
        const qint64 whole = fastest({}, levels);
        QCOMPARE(levels, grid.x.size() * grid.y.size());
        int asked = 0;
        const qint64 stopped = fastest([&asked] { return ++asked % 2 == 0; }, levels);
        QVERIFY(stopped >= 0);
        QCOMPARE(levels, std::size_t(0));
        const QString times = QString("stopped after %1 ms of %2 ms").arg(stopped / 1e6).arg(whole / 1e6);
        qInfo("%s", qPrintable(times));
        QVERIFY2(stopped < whole / 4, qPrintable(times));
    }
};

QTEST_GUILESS_MAIN(TestField)
#include "tst_field.moc"
