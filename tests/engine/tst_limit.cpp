// The legal answers: the limit check and its envelope, and the three solvers. Each answer
// is held by a scan at every centimetre (the answer complies, every value on its safe side
// does too, its neighbour does not); the envelope by a scan of every centimetre of height
// and by the fall of the level above the flame that lets it stop; the refusals, the
// messages' separators and the edges of the searches.

#include "field.h"
#include "fire_models.h"
#include "given_input.h"
#include "limit.h"
#include "number_text.h"

#include <QTest>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <random>
#include <vector>

namespace {

using Input = engine::CalculationInput;
using Status = engine::CalculationStatus;
using Quantity = engine::SolveQuantity;
using Bound = engine::SolutionBound;

QString kw(double level)
{
    return QString::fromStdString(engine::numberToText(level / 1000, '.'));
}

QString describe(const Input &in)
{
    return QString("B %1 D %2 H %3 x %4 y %5 screen %6 %7 %8")
        .arg(in.B)
        .arg(in.D)
        .arg(in.H)
        .arg(in.x)
        .arg(in.y)
        .arg(in.hs)
        .arg(in.xs)
        .arg(in.K);
}

// The storage a solver judges at `value`: the width with the point in front of its middle.
Input with(Input in, Quantity quantity, double value)
{
    (quantity == Quantity::Distance ? in.x : quantity == Quantity::Height ? in.H : in.B) = value;
    if (quantity == Quantity::Width)
        in.y = value / 2;
    return in;
}

// Whole centimetres from `from` to `to` (m), as the solvers' grid has them.
std::vector<double> centimetres(double from, double to)
{
    std::vector<double> values;
    for (long n = std::lround(from * 100); n <= std::lround(to * 100); ++n)
        values.push_back(double(n) / 100);
    return values;
}

// The highest of a 1 cm scan of every height from 0 m to the top, and of the points.
double scannedEnvelope(const Input &in, double x, double y, double &where)
{
    const double top = *std::max_element(in.heights.begin(), in.heights.end());
    std::vector<engine::FieldPoint> points;
    for (double z : centimetres(0, std::floor(top * 100 + 1e-7) / 100))
        points.push_back({x, y, z});
    for (double z : in.heights)
        points.push_back({x, y, z});
    const engine::FieldResult field = engine::CalculateField(in, points);
    if (!field.ok())
        return NAN;
    const auto highest = std::max_element(field.levels.begin(), field.levels.end());
    where = points[std::size_t(highest - field.levels.begin())].z;
    return *highest;
}

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Quantity)
Q_DECLARE_METATYPE(Bound)
Q_DECLARE_METATYPE(Status)

class TestLimit : public QObject
{
    Q_OBJECT

private slots:
    void check_data();
    void check();
    void envelopeAsAScan_data();
    void envelopeAsAScan();
    void levelFallsAboveTheFlame_data();
    void levelFallsAboveTheFlame();
    void oneEnvelope();
    void heightsOfAnySize_data();
    void heightsOfAnySize();
    void answers_data();
    void answers();
    void screenedAnswersAreSafe_data();
    void screenedAnswersAreSafe();
    void refusals_data();
    void refusals();
    void separators_data();
    void separators();
    void firstDistance_data();
    void firstDistance();
};

// The points' verdict and the envelope's, computed either way; the one asked for leads.
void TestLimit::check_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("points");  // kW/m², the highest of the five points
    QTest::addColumn<int>("point");       // 0-based
    QTest::addColumn<QString>("between"); // kW/m², the envelope's highest
    QTest::addColumn<double>("height");   // m, where the envelope's highest lies
    QTest::newRow("x 12.89: the points comply, the level between them does not")
        << Input(Given().point(12.89, 5)) << 15.0 << "14.97" << 2 << "15.01" << 8.25;
    QTest::newRow("the highest level at a point")
        << Input(Given().at({1, 2, 3, 4, 6.56})) << 45.0 << "45.04" << 4 << "45.04" << 6.56;
    QTest::newRow("indoors the envelope is the one point")
        << Input(Given().indoor()) << 22.0 << "22.29" << 0 << "22.29" << 4.000005;
    // The screen stands higher than the flame: the points below it see nothing, the level
    // beyond its line of sight rises, then falls.
    QTest::newRow("above a screen higher than the flame")
        << Input(Given().storage(20, 10, 3).point(3, 10).screen(10, 2.5, 1).at({1, 2, 3, 4, 15})) << 5.0
        << "1.47" << 4 << "5.22" << 11.26;
}

void TestLimit::check()
{
    QFETCH(Input, in);
    QFETCH(double, limit);
    QFETCH(QString, points);
    QFETCH(int, point);
    QFETCH(QString, between);
    QFETCH(double, height);
    const engine::LimitCheck atPoints = engine::CheckLimit(in, limit, false);
    QVERIFY2(atPoints.ok(), atPoints.message.c_str());
    QCOMPARE(kw(atPoints.highest), points);
    QCOMPARE(atPoints.point, point);
    QCOMPARE(atPoints.complies, atPoints.highest <= limit * 1000);
    QCOMPARE(kw(atPoints.envelopeHighest), between);
    QCOMPARE(atPoints.envelopeHeight, height);
    QCOMPARE(atPoints.envelopeComplies, atPoints.envelopeHighest <= limit * 1000);
    QCOMPARE(atPoints.compliesOnlyAtPoints(), atPoints.complies && !atPoints.envelopeComplies);

    const engine::LimitCheck overAll = engine::CheckLimit(in, limit, true);
    QVERIFY2(overAll.ok(), overAll.message.c_str());
    QCOMPARE(overAll.highest, atPoints.envelopeHighest);
    QCOMPARE(overAll.height, height);
    QCOMPARE(overAll.complies, atPoints.envelopeComplies);
    QCOMPARE(overAll.point, points == between ? point : -1);
    QCOMPARE(overAll.envelopeHighest, atPoints.envelopeHighest);
}

// The envelope is the highest level of a scan of every centimetre of height (and the
// points), exactly, here where its refinement finds the highest maximum; above the flame
// it is exact wherever the level lies.
void TestLimit::envelopeAsAScan_data()
{
    QTest::addColumn<Input>("in");
    QTest::newRow("defaults") << Input(Given());
    QTest::newRow("screen between the points") << Input(Given().screen(6, 3, 1));
    QTest::newRow("points off the centimetres") << Input(Given().at({0.333, 1.7, 4.25, 9.99, 11.111}));
    // Every strip the screen clears raises the level a step: a 1 m scan would miss this tooth.
    QTest::newRow("a weak screen's saw teeth") << Input(Given()
                                                            .storage(22.26, 6.09, 7.76)
                                                            .point(3.94, 11.13)
                                                            .screen(6.07, 2.61, 0.31)
                                                            .at({1, 2, 3, 4, 10.26}));
    QTest::newRow("compact, points above the flame") << Input(Given().compact().at({2, 4, 6, 12, 30}));
    QTest::newRow("beside the face, above the flame")
        << Input(Given().storage(10, 10, 2).point(4, -3).at({1, 2, 3, 4, 20}));
    QTest::newRow("above a screen higher than the flame")
        << Input(Given().storage(20, 10, 3).point(3, 10).screen(10, 2.5, 1).at({1, 2, 3, 4, 15}));
    QTest::newRow("a screen shielding part of the strips above the flame")
        << Input(Given().storage(10, 10, 2).point(3, 5).screen(8, 2.5, 0.6).at({1, 2, 3, 4, 25}));
}

void TestLimit::envelopeAsAScan()
{
    QFETCH(Input, in);
    double where = 0;
    const double scanned = scannedEnvelope(in, in.x, in.y, where);
    const engine::HighestLevels envelope = engine::HighestAlong(in, {in.x}, true);
    QVERIFY2(envelope.ok(), envelope.message.c_str());
    QCOMPARE(envelope.levels.front(), scanned);
    QCOMPARE(envelope.heights.front(), where);
}

// Above the flame's top every strip lies below the point: raising the point, each strip's
// view factor falls, so the level falls wherever the screen shields the same strips. This
// is what lets the envelope stop at the flame and look only at the shielding's steps above.
void TestLimit::levelFallsAboveTheFlame_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<bool>("steps"); // the screen's shielding changes above the flame
    QTest::newRow("no screen") << Input(Given()) << false;
    QTest::newRow("compact, close to the face") << Input(Given().compact().point(0.3, 5)) << false;
    QTest::newRow("beside the face") << Input(Given().point(6, 25)) << false;
    QTest::newRow("long face, far") << Input(Given().storage(300, 20, 12).point(80, 40)) << false;
    QTest::newRow("screen higher than the flame")
        << Input(Given().storage(10, 10, 2).point(3, 5).screen(8, 2.5, 1)) << true;
    QTest::newRow("screen at the face") << Input(Given().point(4, 5).screen(20, 0.01, 0.7)) << true;
}

void TestLimit::levelFallsAboveTheFlame()
{
    QFETCH(Input, in);
    QFETCH(bool, steps);
    engine::CalculationState state;
    QVERIFY(engine::detail::prepareStorage(in, state, '.').ok());
    engine::detail::OutdoorPoint point = engine::detail::storagePoint(state, in.screen);
    point.x = in.x + 1e-8;
    std::vector<engine::FieldPoint> points;
    std::vector<int> shielded;
    const double flameTop = std::ceil(state.FlameHeight * 100) / 100;
    for (double z : centimetres(flameTop, flameTop + 40)) {
        points.push_back({in.x, in.y, z});
        point.z = z;
        shielded.push_back(engine::detail::shieldedStrips(point));
    }
    const engine::FieldResult field = engine::CalculateField(in, points);
    QVERIFY2(field.ok(), field.message.c_str());
    const double size = *std::max_element(field.levels.begin(), field.levels.end());
    int changes = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (shielded[i] != shielded[i - 1]) {
            ++changes;
            continue;
        }
        QVERIFY2(field.levels[i] <= field.levels[i - 1] + 1e-12 * size,
                 qPrintable(QString("rises at %1 m: %2 after %3")
                                .arg(points[i].z)
                                .arg(field.levels[i])
                                .arg(field.levels[i - 1])));
    }
    QCOMPARE(changes > 0, steps);
}

// The check, the curves' function and the one-point envelope give one envelope; the
// one-point envelope takes its point from its arguments, not from the input.
void TestLimit::oneEnvelope()
{
    const Input in = Given().point(7, 5).screen(6, 3, 0.8);
    Input atTwo = in;
    atTwo.y = 2;
    const std::vector<double> distances {3.5, 7, 12};
    const engine::HighestLevels along = engine::HighestAlong(atTwo, distances, true);
    QVERIFY(along.ok());
    for (std::size_t i = 0; i < distances.size(); ++i) {
        const engine::EnvelopeLevel at = engine::EnvelopeAt(in, distances[i], 2);
        QVERIFY(at.ok());
        QCOMPARE(at.level, along.levels[i]);
        QCOMPARE(at.height, along.heights[i]);
    }
    atTwo.x = 12;
    const engine::LimitCheck check = engine::CheckLimit(atTwo, 15, false);
    QCOMPARE(check.envelopeHighest, along.levels[2]);
    QCOMPARE(check.envelopeHeight, along.heights[2]);
}

// The envelope up to an absurd height is the envelope up to a height where nothing
// changes any more: above the flame (and beyond the screen's reach) the level only falls.
void TestLimit::heightsOfAnySize_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<double>("top");      // m, the fifth point's height
    QTest::addColumn<double>("sameAs");   // m, a top that gives the same envelope
    QTest::addColumn<QString>("highest"); // kW/m²
    const Input defaults = Given();
    const Input screened = Given().storage(20, 10, 3).point(3, 10).screen(10, 2.5, 1);
    QTest::newRow("1e17 m") << defaults << 1e17 << 100.0 << "45.04";
    QTest::newRow("1e8 m") << defaults << 1e8 << 100.0 << "45.04";
    QTest::newRow("1e4 m") << defaults << 1e4 << 100.0 << "45.04";
    QTest::newRow("above a screen higher than the flame, 1e17 m") << screened << 1e17 << 15.0 << "5.22";
}

void TestLimit::heightsOfAnySize()
{
    QFETCH(Input, in);
    QFETCH(double, top);
    QFETCH(double, sameAs);
    QFETCH(QString, highest);
    in.heights = {2.5, 5, 7.5, 10, top};
    const engine::LimitCheck far = engine::CheckLimit(in, 44.9, true);
    QVERIFY2(far.ok(), far.message.c_str());
    QCOMPARE(kw(far.highest), highest);
    QCOMPARE(far.complies, far.highest <= 44900);
    in.heights[4] = sameAs;
    QCOMPARE(engine::CheckLimit(in, 44.9, true).highest, far.highest);
    double where = 0;
    QCOMPARE(scannedEnvelope(in, in.x, in.y, where), far.highest);
}

// Answers held by the centimetres around them. The wobble rows need the solvers' checks of
// the stretch beyond a crossing: without them the distance solver answers 10.56 m, the
// height solver 7.46 m and the width solver 17.17 m, each unsafe.
void TestLimit::answers_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("limit");
    QTest::addColumn<bool>("envelope");
    QTest::addColumn<double>("answer");
    QTest::addColumn<Bound>("bound");
    QTest::addColumn<double>("position"); // m, where along the face the answer was judged
    const Input wobble = Given()
                             .storage(33.457, 5.207, 7.142)
                             .point(5, 16.7285)
                             .screen(9.178, 3.658, 0.841)
                             .at({1, 4.44, 3.21, 4.83, 8.14});
    const Input tall = Given()
                           .storage(17.022, 23.079, 4.046)
                           .point(2.622, 10.066)
                           .screen(9.924, 1.319, 0.886)
                           .at({8.92, 3.38, 8.81, 7.88, 5.24});
    const Input wide = Given()
                           .storage(13, 3.376, 4.252)
                           .point(9.524, 5.669)
                           .screen(4.325, 2.192, 0.79)
                           .at({0.65, 2.73, 4.12, 3.12, 2.04});
    const Given small = Given().storage(2, 2, 1).point(5, 1).at({1, 2, 3, 4, 5});
    QTest::newRow("distance, defaults")
        << Input(Given()) << Quantity::Distance << 15.0 << false << 12.88 << Bound::None << 5.0;
    QTest::newRow("distance, the envelope")
        << Input(Given()) << Quantity::Distance << 15.0 << true << 12.9 << Bound::None << 5.0;
    // Every point below the screen's top: right behind it the screen hides the whole flame,
    // farther away less of it, and the level rises above the limit again.
    QTest::newRow("distance, the level rises again behind the screen")
        << Input(Given().screen(6, 2, 1).at({1, 2, 3, 4, 5})) << Quantity::Distance << 10.0 << false << 9.94
        << Bound::None << 5.0;
    QTest::newRow("distance, wobble behind a screen")
        << wobble << Quantity::Distance << 15.0 << false << 10.66 << Bound::None << 16.7285;
    QTest::newRow("distance, every distance complies")
        << Input(small) << Quantity::Distance << 80.0 << false << 0.1 << Bound::Lowest << 1.0;
    QTest::newRow("distance, all shielded behind the screen")
        << Input(Given(small).screen(10, 2.3, 1)) << Quantity::Distance << 15.0 << true << 2.31
        << Bound::Lowest << 1.0;
    // A flame of 4 dm: the 0.5 m scan barely sees it, and the search refines every envelope.
    QTest::newRow("distance, the envelope of a small flame")
        << Input(Given().storage(38.21, 0.0784, 0.0784).point(5, 0.0784).at({1.96, 0, 0, 0, 0}))
        << Quantity::Distance << 27.8 << true << 0.22 << Bound::None << 0.0784;
    QTest::newRow("height, defaults")
        << Input(Given()) << Quantity::Height << 15.0 << false << 1.29 << Bound::None << 5.0;
    QTest::newRow("height, the envelope")
        << Input(Given()) << Quantity::Height << 15.0 << true << 1.21 << Bound::None << 5.0;
    QTest::newRow("height, wobble behind a screen")
        << tall << Quantity::Height << 15.0 << false << 7.38 << Bound::None << 10.066;
    QTest::newRow("height, the top of the search")
        << Input(Given().point(100, 5)) << Quantity::Height << 15.0 << false << 15.0 << Bound::Highest << 5.0;
    QTest::newRow("width, in front of the middle")
        << Input(Given()) << Quantity::Width << 15.0 << false << 2.46 << Bound::None << 1.23;
    QTest::newRow("width, the envelope")
        << Input(Given().point(12.89, 5)) << Quantity::Width << 15.0 << true << 9.99 << Bound::None << 4.995;
    QTest::newRow("width, a low limit")
        << Input(Given()) << Quantity::Width << 0.5 << false << 0.08 << Bound::None << 0.04;
    QTest::newRow("width, wobble behind a screen")
        << wide << Quantity::Width << 12.9 << false << 16.98 << Bound::None << 8.49;
    QTest::newRow("width, the top of the search") << Input(Given().point(100, 5)) << Quantity::Width << 15.0
                                                  << false << 10000.0 << Bound::Highest << 5000.0;
}

void TestLimit::answers()
{
    QFETCH(Input, in);
    QFETCH(Quantity, quantity);
    QFETCH(double, limit);
    QFETCH(bool, envelope);
    QFETCH(double, answer);
    QFETCH(Bound, bound);
    QFETCH(double, position);
    const double L = limit * 1000;
    const engine::Solution solution = engine::Solve(in, quantity, limit, envelope);
    QVERIFY2(solution.ok() && solution.found, solution.message.c_str());
    QCOMPARE(solution.value, answer);
    QCOMPARE(solution.bound, bound);
    QCOMPARE(solution.position, position);
    QCOMPARE(solution.highest, engine::CheckLimit(with(in, quantity, answer), limit, envelope).highest);

    if (quantity == Quantity::Distance) {
        // Every centimetre out to twice the answer complies, the one before it does not.
        const std::vector<double> beyond = centimetres(answer, 2 * answer);
        const engine::HighestLevels levels = engine::HighestAlong(in, beyond, envelope);
        QVERIFY(levels.ok());
        for (std::size_t i = 0; i < beyond.size(); ++i)
            QVERIFY2(levels.levels[i] <= L,
                     qPrintable(QString("%1 m: %2").arg(beyond[i]).arg(levels.levels[i])));
        if (bound == Bound::None)
            QVERIFY(engine::HighestAlong(in, {answer - 0.01}, envelope).levels.front() > L);
        return;
    }
    // Every centimetre of the last metre up to the answer complies (or has no flame), the
    // next one does not.
    for (double value : centimetres(std::max(0.01, answer - 1), answer)) {
        const engine::LimitCheck check = engine::CheckLimit(with(in, quantity, value), limit, envelope);
        const bool noFlame = check.status == Status::FlameHeightNotPositive;
        QVERIFY2(noFlame || (check.ok() && check.complies),
                 qPrintable(QString("%1 m: %2 %3").arg(value).arg(check.highest).arg(check.message.c_str())));
    }
    if (bound == Bound::None)
        QVERIFY(!engine::CheckLimit(with(in, quantity, answer + 0.01), limit, envelope).complies);
}

// Random screened storages, the point in front of the middle of the face: every distance
// answer is safe by a scan of every centimetre out to twice the answer.
void TestLimit::screenedAnswersAreSafe_data()
{
    QTest::addColumn<bool>("compact");
    QTest::addColumn<bool>("envelope");
    QTest::addColumn<int>("count");
    QTest::newRow("loose") << false << false << 40;
    QTest::newRow("compact") << true << false << 40;
    QTest::newRow("loose, the envelope") << false << true << 8;
}

void TestLimit::screenedAnswersAreSafe()
{
    QFETCH(bool, compact);
    QFETCH(bool, envelope);
    QFETCH(int, count);
    std::mt19937_64 random(std::hash<std::string>()(QTest::currentDataTag()));
    std::uniform_real_distribution<double> unit(0, 1);
    int answered = 0;
    for (int n = 0; n < count; ++n) {
        Input in;
        in.compact = compact;
        in.screen = true;
        in.B = 2 + 40 * unit(random);
        in.D = 2 + 30 * unit(random);
        in.H = 1 + 9 * unit(random);
        in.y = in.B / 2;
        in.hs = 1 + 9 * unit(random);
        in.xs = 0.5 + 4 * unit(random);
        in.K = 0.3 + 0.7 * unit(random);
        for (double &z : in.heights)
            z = 0.5 + 9 * unit(random);
        const engine::Solution solution = engine::Solve(in, Quantity::Distance, 15, envelope);
        QVERIFY2(solution.ok() && solution.found, qPrintable(describe(in)));
        answered += solution.bound == Bound::None;
        const std::vector<double> beyond = centimetres(solution.value, 2 * solution.value);
        const engine::HighestLevels levels = engine::HighestAlong(in, beyond, envelope);
        QVERIFY(levels.ok());
        for (std::size_t i = 0; i < beyond.size(); ++i)
            QVERIFY2(levels.levels[i] <= 15000,
                     qPrintable(QString("%1 m beyond %2 m: %3 for ")
                                    .arg(beyond[i])
                                    .arg(solution.value)
                                    .arg(levels.levels[i])
                                + describe(in)));
    }
    QVERIFY(answered > count / 2);
}

// What the engine refuses, and what it answers honestly, whatever it is called with.
void TestLimit::refusals_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<double>("limit");
    QTest::addColumn<Status>("status"); // of the check and the solvers
    QTest::addColumn<QString>("message");
    QTest::newRow("limit 0") << Input(Given()) << 0.0 << Status::LimitOutOfRange << "groter dan 0";
    QTest::newRow("limit below 0") << Input(Given()) << -1.0 << Status::LimitOutOfRange << "groter dan 0";
    QTest::newRow("limit not a number")
        << Input(Given()) << double(NAN) << Status::LimitOutOfRange << "groter dan 0";
    QTest::newRow("limit 1e308") << Input(Given()) << 1e308 << Status::LimitOutOfRange
                                 << "1E+308 kW/m² is te groot";
    QTest::newRow("a height not a number")
        << Input(Given().at({1, 2, NAN, 4, 5})) << 15.0 << Status::NotFinite << "geen warmtestralingsniveau";
    QTest::newRow("a height without end") << Input(Given().at({1, 2, 3, 4, INFINITY})) << 15.0
                                          << Status::NotFinite << "geen warmtestralingsniveau";
}

void TestLimit::refusals()
{
    QFETCH(Input, in);
    QFETCH(double, limit);
    QFETCH(Status, status);
    QFETCH(QString, message);
    const engine::LimitCheck check = engine::CheckLimit(in, limit, true);
    QCOMPARE(check.status, status);
    QVERIFY2(QString::fromStdString(check.message).contains(message), check.message.c_str());
    for (Quantity quantity : {Quantity::Distance, Quantity::Height, Quantity::Width}) {
        const engine::Solution solution = engine::Solve(in, quantity, limit, true);
        QCOMPARE(solution.status, status);
        QVERIFY(!solution.found);
        QVERIFY2(QString::fromStdString(solution.message).contains(message), solution.message.c_str());
    }
}

// The engine's messages take the caller's decimal separator.
void TestLimit::separators_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("message"); // a part of it, with a decimal comma
    const Given noFlame = Given().storage(8.7, 8.7, 0.5);
    QTest::newRow("no flame, check") << Input(noFlame) << Quantity(-1) << 15.0 << "vlamhoogte uit op -0,33 m";
    QTest::newRow("no flame, distance")
        << Input(noFlame) << Quantity::Distance << 15.0 << "vlamhoogte uit op -0,33 m";
    QTest::newRow("no height complies") << Input(Given(noFlame).point(5.5, 5)) << Quantity::Height << 0.1
                                        << "Geen hoogte tot 15 m voldoet: op 5,5 m afstand komt het "
                                           "warmtestralingsniveau al bij de laagste opslag "
                                           "boven 0,1 kW/m².";
    QTest::newRow("no distance complies")
        << Input(Given().storage(100, 100, 15)) << Quantity::Distance << 0.01
        << "ook op 1000 m is het warmtestralingsniveau hoger dan 0,01 kW/m².";
    QTest::newRow("a screen beyond the search") << Input(Given().screen(1, 1e17, 1)) << Quantity::Distance
                                                << 15.0 << "De afscherming staat op 1E+17 m van de opslag";
}

void TestLimit::separators()
{
    QFETCH(Input, in);
    QFETCH(Quantity, quantity);
    QFETCH(double, limit);
    QFETCH(QString, message);
    std::string text;
    if (int(quantity) < 0) {
        text = engine::CheckLimit(in, limit, true, ',').message;
        QCOMPARE(QString::fromStdString(engine::HighestAlong(in, {5}, true, ',').message),
                 QString::fromStdString(text));
        QCOMPARE(QString::fromStdString(engine::EnvelopeAt(in, 5, 5, ',').message),
                 QString::fromStdString(text));
        engine::FieldOptions options;
        options.decimalSeparator = ',';
        const engine::FieldGrid grid {{5}, {5}, {2}};
        QCOMPARE(QString::fromStdString(engine::CalculateFieldPicture(in, grid, options).message),
                 QString::fromStdString(text));
        QCOMPARE(QString::fromStdString(engine::CalculateFieldHighest(in, grid, options).message),
                 QString::fromStdString(text));
    } else {
        const engine::Solution solution = engine::Solve(in, quantity, limit, false, ',');
        QVERIFY(!solution.found);
        text = solution.message;
    }
    QVERIFY2(QString::fromStdString(text).contains(message), text.c_str());
}

void TestLimit::firstDistance_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<double>("first");
    QTest::newRow("no screen") << Input(Given()) << 0.1;
    QTest::newRow("a screen's distances count only with the screen")
        << Input(Given().screen(4, 2.3, 1, false)) << 0.1;
    QTest::newRow("screen nearer than 0.1 m") << Input(Given().screen(4, 0.05, 1)) << 0.1;
    QTest::newRow("screen at 2.3 m: 2.31 m, not 2.3 m") << Input(Given().screen(4, 2.3, 1)) << 2.31;
    QTest::newRow("screen at 0.29 m") << Input(Given().screen(4, 0.29, 1)) << 0.3;
    QTest::newRow("screen between centimetres") << Input(Given().screen(4, 7.456, 1)) << 7.46;
    QTest::newRow("indoors no screen counts") << Input(Given().indoor().screen(4, 2.3, 1)) << 0.1;
    QTest::newRow("screen beyond the search") << Input(Given().screen(4, 1e17, 1)) << 1e17;
}

void TestLimit::firstDistance()
{
    QFETCH(Input, in);
    QFETCH(double, first);
    // Exactly the centimetre as the solver's grid has it, not within a rounding of it.
    QCOMPARE(engine::FirstDistance(in), first);
    if (first <= 1000)
        QCOMPARE(engine::FirstDistance(in), std::round(first * 100) / 100);
}

QTEST_GUILESS_MAIN(TestLimit)
#include "tst_limit.moc"
