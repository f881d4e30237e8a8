// The engine evaluates every strip edge once and shares it between two strips, and
// takes the fourth powers once per calculation; that must not change a single bit
// against the straightforward form of the outdoor model.

#include "figure.h"
#include "straightforward_outdoor.h"

#include "calculate.h"
#include "fire_models.h"

#include <QLocale>
#include <QTest>

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

// Every field the outdoor model writes, bit for bit, arrays included.
void compareOutdoorFields(const engine::CalculationState &actual, const engine::CalculationState &expected)
{
    QCOMPARE(actual.StripCount, expected.StripCount);
    QCOMPARE(bitsOf(actual.BaseFlameTemperature), bitsOf(expected.BaseFlameTemperature));
    QCOMPARE(bitsOf(actual.TipFlameTemperature), bitsOf(expected.TipFlameTemperature));
    QCOMPARE(bitsOf(actual.Transmission), bitsOf(expected.Transmission));
    for (int i = 0; i < engine::CalculationState::ArraySize; ++i) {
        QCOMPARE(bitsOf(actual.StripViewFactor[i]), bitsOf(expected.StripViewFactor[i]));
        QCOMPARE(bitsOf(actual.StripTemperature[i]), bitsOf(expected.StripTemperature[i]));
        QCOMPARE(bitsOf(actual.StripFlux[i]), bitsOf(expected.StripFlux[i]));
    }
}

} // namespace

class TestSharedEdges : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void identicalToStraightforwardForm_data();
    void identicalToStraightforwardForm();
};

void TestSharedEdges::identicalToStraightforwardForm_data()
{
    QTest::addColumn<engine::CalculationInput>("input");
    const engine::CalculationInput defaults;
    auto with = [&defaults](auto change) {
        engine::CalculationInput input = defaults;
        change(input);
        return input;
    };

    QTest::newRow("defaults") << defaults;
    QTest::newRow("compact") << with([](auto &in) { in.compact = true; });
    QTest::newRow("screen hs 4 xs 2") << with([](auto &in) { in.screen = true; in.hs = 4; in.xs = 2; });
    QTest::newRow("screen hs 0 xs 8") << with([](auto &in) { in.screen = true; in.xs = 8; });
    QTest::newRow("screen half efficient") << with([](auto &in) { in.screen = true; in.hs = 6; in.xs = 1; in.K = 0.5; });
    QTest::newRow("no screen, xs 8") << with([](auto &in) { in.xs = 8; });
    QTest::newRow("next to the face") << with([](auto &in) { in.x = 0.01; });
    QTest::newRow("beside the face") << with([](auto &in) { in.y = -3; });
    QTest::newRow("in line with a side") << with([](auto &in) { in.B = 5; in.D = 5; in.H = 3; });
    QTest::newRow("long face") << with([](auto &in) { in.B = 100; in.D = 20; in.H = 6; in.x = 20; in.y = 80; });
    QTest::newRow("flame below the pile top") << with([](auto &in) { in.B = 8; in.D = 8; in.H = 100; });
    QTest::newRow("ground, below and high up") << with([](auto &in) { in.heights = {0, -1, 30, 60, 100}; });

    // Heights exactly on strip edges put a kernel at h = 0, where the 1e-9 guard works.
    engine::CalculationState state;
    engine::Calculate(defaults, state);
    const double Lf = state.FlameHeight;
    QTest::newRow("points on strip edges") << with([Lf](auto &in) {
        in.heights = {(1 * Lf) / 400, (60 * Lf) / 400, (133 * Lf) / 400, (200 * Lf) / 400, (400 * Lf) / 400};
    });
}

void TestSharedEdges::identicalToStraightforwardForm()
{
    QFETCH(engine::CalculationInput, input);

    engine::CalculationState calculated;
    const engine::CalculationResult result = engine::Calculate(input, calculated);
    QVERIFY2(result.ok(), result.message.c_str());
    QCOMPARE(result.levels.size(), std::size_t(5));

    // Calculate: the five levels, and the arrays of the last point it leaves behind.
    engine::CalculationState reference = calculated;
    for (std::size_t i = 0; i < input.heights.size(); ++i) {
        const double expected = straightforwardOutdoorLevel(reference, input.heights[i],
                                                            input.compact, input.screen);
        QCOMPARE(bitsOf(result.levels[i]), bitsOf(expected));
    }
    compareOutdoorFields(calculated, reference);

    // CalcOutdoorLevel on its own, point by point, arrays included.
    for (double z : input.heights) {
        engine::CalculationState single = calculated;
        engine::CalculationState straightforward = calculated;
        const double level = engine::CalcOutdoorLevel(single, z, input.compact, input.screen);
        const double expected = straightforwardOutdoorLevel(straightforward, z, input.compact, input.screen);
        QCOMPARE(bitsOf(level), bitsOf(expected));
        compareOutdoorFields(single, straightforward);
    }
}

QTEST_GUILESS_MAIN(TestSharedEdges)
#include "tst_shared_edges.moc"
