// The limit check and the solvers against brute-force scans of the same calculation:
// each answer complies, one centimetre further it does not, and a plain scan finds the
// same crossing; the envelope is never below the points.

#include "calculation_state.h"
#include "field.h"
#include "given_input.h"
#include "limit.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

using Input = engine::CalculationInput;
using Quantity = engine::SolveQuantity;

Q_DECLARE_METATYPE(engine::SolveQuantity)
Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

Input with(Input in, Quantity quantity, double value)
{
    (quantity == Quantity::Distance ? in.x : quantity == Quantity::Height ? in.H : in.B) = value;
    return in;
}

// The highest of the levels Calculate gives; NAN when it refuses the input.
double highest(const Input &in)
{
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(in, state);
    if (!result.ok())
        return NAN;
    return *std::max_element(result.levels.begin(), result.levels.end());
}

// The highest level at each distance, from one many-points calculation.
std::vector<double> highestAlong(const Input &in, const std::vector<double> &distances)
{
    const std::size_t count = in.indoor ? 1 : 5;
    std::vector<engine::FieldPoint> points;
    for (double x : distances) {
        for (std::size_t j = 0; j < count; ++j)
            points.push_back({x, in.y, in.heights[j]});
    }
    const engine::FieldResult field = engine::CalculateField(in, points);
    std::vector<double> result;
    for (std::size_t i = 0; i < distances.size() && field.ok(); ++i)
        result.push_back(*std::max_element(field.levels.begin() + long(i * count),
                                           field.levels.begin() + long((i + 1) * count)));
    return result;
}

} // namespace

class LimitTest : public QObject
{
    Q_OBJECT

private slots:
    void solverAgreesWithScan_data();
    void solverAgreesWithScan();
    void screenMakesTheLevelRiseAgain();
    void noValueComplies_data();
    void noValueComplies();
    void envelopeNeverBelowPoints_data();
    void envelopeNeverBelowPoints();
};

void LimitTest::solverAgreesWithScan_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("step"); // m, of the brute-force scan

    QTest::newRow("outdoor, distance") << Input(Given()) << Quantity::Distance << 0.25;
    QTest::newRow("outdoor, height") << Input(Given()) << Quantity::Height << 0.1;
    QTest::newRow("outdoor, width") << Input(Given()) << Quantity::Width << 0.5;
    QTest::newRow("compact, height") << Input(Given().compact()) << Quantity::Height << 0.1;
    QTest::newRow("screen, distance") << Input(Given().screen(6, 3, 1)) << Quantity::Distance << 0.25;
    QTest::newRow("limited face, width")
        << Input(Given().storage(100, 20, 6).point(20, 80)) << Quantity::Width << 0.5;
    QTest::newRow("indoor, distance") << Input(Given().indoor()) << Quantity::Distance << 0.25;
}

void LimitTest::solverAgreesWithScan()
{
    QFETCH(Input, in);
    QFETCH(Quantity, quantity);
    QFETCH(double, step);
    const double L = 15000;
    const engine::Solution solution = engine::Solve(in, quantity, 15, false);
    QVERIFY2(solution.ok() && solution.found, solution.message.c_str());
    const double value = solution.value;
    QCOMPARE(std::round(value * 100) / 100, value);
    QVERIFY(highest(with(in, quantity, value)) <= L);
    QCOMPARE(solution.highest, highest(with(in, quantity, value)));

    if (quantity == Quantity::Distance) {
        if (value > 0.1 + 1e-9)
            QVERIFY(highest(with(in, quantity, value - 0.01)) > L);
        std::vector<double> distances;
        for (double x = 0.1; x < 40; x += step)
            distances.push_back(x);
        for (double far : {100.0, 300.0, 1000.0})
            distances.push_back(far);
        const std::vector<double> levels = highestAlong(in, distances);
        QCOMPARE(levels.size(), distances.size());
        double lastExceeding = 0;
        for (std::size_t i = 0; i < distances.size(); ++i) {
            if (levels[i] > L && (!in.screen || distances[i] > in.xs))
                lastExceeding = distances[i];
        }
        QVERIFY(lastExceeding < value);
        QVERIFY(value <= lastExceeding + step + 0.01);
        return;
    }

    const double top = quantity == Quantity::Height ? 15 : 10000;
    if (value < top)
        QVERIFY(highest(with(in, quantity, value + 0.01)) > L);
    std::vector<double> values;
    for (double v = step; v <= std::min(top, 120.0) + 1e-9; v += step)
        values.push_back(v);
    if (quantity == Quantity::Width)
        values.insert(values.end(), {1000.0, 10000.0});
    double firstExceeding = INFINITY;
    for (double v : values) {
        if (highest(with(in, quantity, v)) > L) {
            firstExceeding = v;
            break;
        }
    }
    if (std::isinf(firstExceeding)) {
        QCOMPARE(value, top);
        return;
    }
    QVERIFY(value < firstExceeding);
    QVERIFY(value >= firstExceeding - step - 0.01);
}

void LimitTest::screenMakesTheLevelRiseAgain()
{
    // Every point below the screen's top: right behind it the screen hides the whole
    // flame, farther away less of it.
    const Input in = Given().screen(6, 2, 1).at({1, 2, 3, 4, 5});
    const std::vector<double> levels = highestAlong(in, {2.05, 6});
    QCOMPARE(levels.size(), std::size_t(2));
    QVERIFY(levels[0] < 10000);
    QVERIFY(levels[1] > 10000);

    const engine::Solution solution = engine::Solve(in, Quantity::Distance, 10, false);
    QVERIFY(solution.found);
    QVERIFY(solution.value > 6);
}

void LimitTest::noValueComplies_data()
{
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<QString>("explanation");

    QTest::newRow("distance") << Quantity::Distance << "Geen afstand tot 1000 m voldoet";
    QTest::newRow("height") << Quantity::Height << "Geen hoogte tot 15 m voldoet";
    QTest::newRow("width") << Quantity::Width << "Geen breedte tot 10000 m voldoet";
}

void LimitTest::noValueComplies()
{
    QFETCH(Quantity, quantity);
    QFETCH(QString, explanation);

    const engine::Solution solution = engine::Solve(Input {}, quantity, 0.001, false);
    QVERIFY(solution.ok());
    QVERIFY(!solution.found);
    QVERIFY(solution.levels.empty());
    QVERIFY2(QString::fromStdString(solution.message).startsWith(explanation), solution.message.c_str());
    QVERIFY(QString::fromStdString(solution.message).contains("0.001 kW/m²"));
}

void LimitTest::envelopeNeverBelowPoints_data()
{
    QTest::addColumn<Input>("in");
    QTest::newRow("screen between the points") << Input(Given().screen(6, 3, 1));
    QTest::newRow("points off the 1 cm grid") << Input(Given().at({0.333, 1.7, 4.25, 9.99, 11.111}));
}

void LimitTest::envelopeNeverBelowPoints()
{
    QFETCH(Input, in);

    const engine::LimitCheck points = engine::CheckLimit(in, 15, false);
    const engine::LimitCheck envelope = engine::CheckLimit(in, 15, true);
    QVERIFY(points.ok() && envelope.ok());
    QVERIFY(envelope.highest >= points.highest);
    QCOMPARE(envelope.point == -1, envelope.highest > points.highest);
    const double top = *std::max_element(in.heights.begin(), in.heights.end());
    QVERIFY(envelope.height >= 0 && envelope.height <= top);
    QCOMPARE(envelope.complies, envelope.highest <= 15000);
    // Not below any height of a 10 cm scan either.
    std::vector<engine::FieldPoint> scan;
    for (int z = 0; z <= int(top * 10); ++z)
        scan.push_back({in.x, in.y, z / 10.0});
    const engine::FieldResult field = engine::CalculateField(in, scan);
    QVERIFY(field.ok());
    QVERIFY(envelope.highest >= *std::max_element(field.levels.begin(), field.levels.end()));
}

QTEST_GUILESS_MAIN(LimitTest)
#include "tst_limit.moc"
