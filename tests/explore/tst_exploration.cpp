// The numbers behind the views are the engine's: the plan and its picture against the
// limit check at each spot, the curves against the check, the Hoogte view's mark against
// the check's answer, the first distance against the engine's, the limit's isoline on
// the centre line against the distance solver, and the table's CSV back to the same numbers.

#include "explored.h"
#include "given_input.h"
#include "view_painter.h"
#include "view_table.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace explore;

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

ExplorationInput explorationOf(const engine::CalculationInput &storage, bool envelope = false)
{
    ExplorationInput input;
    input.storage = storage;
    input.envelope = envelope;
    return input;
}

// The storage with the centre of the face as the point's position.
Given centred(Given given)
{
    return given.point(given.x, given.B / 2);
}

// A screened storage with a strong envelope between its points: the level peaks between
// the heights 7.5 and 10 m.
Given screened()
{
    return Given().storage(15, 10, 6).point(10, 7.5).screen(5, 2, 1);
}

// The check's highest level (kW/m²) for the point moved to (x, y): the engine's answer.
double checkHighest(const ExplorationInput &input, double x, double y)
{
    engine::CalculationInput single = input.storage;
    single.x = x;
    single.y = y;
    return engine::CheckLimit(single, input.limitKw, input.envelope).highest / 1000;
}

bool close(double a, double b)
{
    return std::abs(a - b) <= 1e-9 * std::max(1.0, std::abs(b));
}

// Where the isoline crosses the line y = yLine farthest from the face.
double farthestCrossing(const std::vector<engine::ContourLine> &lines, double yLine)
{
    double farthest = -1;
    for (const engine::ContourLine &line : lines) {
        for (size_t i = 1; i < line.points.size(); ++i) {
            const auto &a = line.points[i - 1];
            const auto &b = line.points[i];
            if ((a.y - yLine) * (b.y - yLine) > 0 || a.y == b.y)
                continue;
            const double t = (yLine - a.y) / (b.y - a.y);
            farthest = std::max(farthest, a.x + t * (b.x - a.x));
        }
    }
    return farthest;
}

} // namespace

class TestExploration : public QObject
{
    Q_OBJECT

    void storages()
    {
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::addColumn<bool>("envelope");
        QTest::newRow("defaults") << engine::CalculationInput(centred(Given())) << false;
        QTest::newRow("screen") << engine::CalculationInput(centred(Given().screen(4, 2, 0.6))) << false;
        QTest::newRow("screen, envelope") << engine::CalculationInput(screened()) << true;
        QTest::newRow("indoor, envelope asked")
            << engine::CalculationInput(centred(Given().indoor())) << true;
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    // Every number of the plan (its exact levels and the level under the cursor) is the
    // check's highest level at that spot; the picture that comes first samples the
    // envelope and, without it, is within 1e-5 of the exact map.
    void planIsTheCheck_data() { storages(); }
    void planIsTheCheck()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(bool, envelope);
        const ExplorationInput input = explorationOf(storage, envelope);
        const PlanExtent extent {engine::FirstDistance(storage), 30, -10, storage.B + 10};
        Refusal refusal;
        const PlanMap map = ComputePlanMap(input, extent, 12, refusal);
        QVERIFY(!refusal.refused());
        QCOMPARE(map.grid.nx, 12);
        QCOMPARE(map.grid.ny, 12);
        for (int j = 0; j < 12; j += 5) {
            for (int i = 0; i < 12; i += 3) {
                const double expected =
                    checkHighest(input, extent.xFrom + i * map.grid.dx, extent.yFrom + j * map.grid.dy);
                QVERIFY2(close(map.grid.value(i, j), expected),
                         qPrintable(QString("node %1 %2: %3, check %4")
                                        .arg(i)
                                        .arg(j)
                                        .arg(map.grid.value(i, j))
                                        .arg(expected)));
            }
        }
        const double x = extent.xFrom + 3.5 * map.grid.dx;
        const double y = extent.yFrom + 5.5 * map.grid.dy;
        double between = 0;
        QVERIFY(PlanLevelAt(input, x, y, between));
        QVERIFY2(close(between, checkHighest(input, x, y)), qPrintable(QString::number(between)));
        if (envelope && !storage.indoor)
            return;
        const PlanMap picture = ComputePlanMap(input, extent, 12, refusal, {}, 0, PlanPrecision::Picture);
        for (size_t node = 0; node < map.grid.values.size(); ++node)
            QVERIFY(std::abs(picture.grid.values[node] - map.grid.values[node]) <= 1e-5 * map.highestValue);
    }

    // The Afstand view's highest curve is the check's highest level at each distance: over
    // the five points, or over the engine's envelope.
    void distanceCurveIsTheCheck_data() { storages(); }
    void distanceCurveIsTheCheck()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(bool, envelope);
        const ExplorationInput input = explorationOf(storage, envelope);
        Refusal refusal;
        const DistanceProfile profile = ComputeDistanceProfile(input, 30, 13, refusal);
        QVERIFY(!refusal.refused());
        QCOMPARE(profile.envelope.empty(), !envelope || storage.indoor);
        for (size_t d = 0; d < profile.distances.size(); d += 3) {
            const double expected = checkHighest(input, profile.distances[d], storage.y);
            QVERIFY2(close(profile.highest[d], expected),
                     qPrintable(QString("x %1: %2, check %3")
                                    .arg(profile.distances[d])
                                    .arg(profile.highest[d])
                                    .arg(expected)));
            if (!profile.envelope.empty())
                QCOMPARE(profile.envelope[d], profile.highest[d]);
        }
    }

    // The Hoogte view marks the check's answer, the same highest level and height as the
    // answers, not a maximum of its own samples.
    void heightMarkIsTheCheck_data()
    {
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::addColumn<bool>("envelope");
        QTest::addColumn<QString>("mark");
        QTest::newRow("screen, envelope: between two points")
            << engine::CalculationInput(screened()) << true << "hoogste: 18,44 kW/m² op 9,80 m";
        QTest::newRow("five points") << engine::CalculationInput(screened()) << false
                                     << "hoogste: 18,42 kW/m² op 10,00 m";
        QTest::newRow("indoor: half the building height")
            << engine::CalculationInput(Given().indoor()) << true << "hoogste: 22,29 kW/m² op 4,00 m";
    }
    void heightMarkIsTheCheck()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(bool, envelope);
        QFETCH(QString, mark);
        const Exploration exploration = Explored(explorationOf(storage, envelope), 12);
        QVERIFY(exploration.hasAnswers);
        const plot::LineChart chart = HeightChart(exploration, QLocale());
        QVERIFY(!chart.marks.empty());
        QCOMPARE(chart.marks.front().label, mark);
        const engine::LimitCheck &check = exploration.answers.check;
        QCOMPARE(chart.marks.front().point, QPointF(check.highest / 1000, check.height));
    }

    // The Afstand view marks the distance solver's answer; where the first distance searched
    // complies already, it marks no distance and its limit line says every distance complies.
    void distanceMark_data()
    {
        QTest::addColumn<double>("limit");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("limitLabel");
        QTest::newRow("an answer") << 15.0 << "minimale afstand 12,88 m"
                                   << "L = 15,00 kW/m²";
        QTest::newRow("every distance complies") << 95.0 << ""
                                                 << "L = 95,00 kW/m²: elke afstand voldoet";
    }
    void distanceMark()
    {
        QFETCH(double, limit);
        QFETCH(QString, mark);
        QFETCH(QString, limitLabel);
        ExplorationInput input = explorationOf(Given());
        input.limitKw = limit;
        const Exploration exploration = Explored(input, 12);
        QVERIFY(exploration.hasAnswers);
        const plot::LineChart chart =
            DistanceChart(exploration, QLocale(QLocale::Dutch, QLocale::Netherlands));
        QCOMPARE(chart.marks.empty() ? QString() : chart.marks.front().label, mark);
        QCOMPARE(chart.lines.front().label, limitLabel);
    }

    // Levels behind a screen that shields the whole flame are 0, never a little below.
    void levelsNeverBelowZero()
    {
        const Exploration exploration = Explored(explorationOf(screened(), true), 12);
        QVERIFY(!exploration.refusal.refused());
        const plot::LineChart chart = DistanceChart(exploration, QLocale());
        for (const plot::ChartSeries &series : chart.series) {
            for (const QPointF &p : series.points)
                QVERIFY2(p.y() >= 0,
                         qPrintable(QString("%1 at %2 m: %3").arg(series.name).arg(p.x()).arg(p.y())));
        }
        for (double level : exploration.height.levels)
            QVERIFY(level >= 0);
    }

    // Curves, the plan and the distance solver start at the same first distance.
    void firstDistanceIsTheEngines_data()
    {
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::newRow("no screen") << engine::CalculationInput(Given());
        QTest::newRow("screen at 2.345 m") << engine::CalculationInput(Given().screen(4, 2.345, 0.6));
        QTest::newRow("screen absent") << engine::CalculationInput(Given().screen(4, 3, 0.6, false));
    }
    void firstDistanceIsTheEngines()
    {
        QFETCH(engine::CalculationInput, storage);
        const ExplorationInput input = explorationOf(storage);
        Refusal refusal;
        const Answers answers = ComputeAnswers(input, refusal);
        const DistanceProfile profile = ComputeDistanceProfile(input, 30, 5, refusal);
        QVERIFY(!refusal.refused());
        QCOMPARE(profile.distances.front(), engine::FirstDistance(storage));
        QCOMPARE(PlanExtentFor(input, answers).xFrom, engine::FirstDistance(storage));
    }

    // The engine's messages in the views carry the locale's decimal separator.
    void messagesUseTheLocaleSeparator_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("number");
        QTest::newRow("Dutch") << QLocale(QLocale::Dutch, QLocale::Netherlands) << "-0,33 m";
        QTest::newRow("C") << QLocale::c() << "-0.33 m";
    }
    void messagesUseTheLocaleSeparator()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, number);
        QLocale::setDefault(locale);
        // The flame of this pile would have a negative height.
        const ExplorationInput input = explorationOf(Given().storage(8.7, 8.7, 0.5));
        QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
        Refusal refusal;
        ComputeAnswers(input, refusal);
        QVERIFY(refusal.refused());
        QVERIFY2(QString::fromStdString(refusal.message).contains(number), refusal.message.c_str());
    }

    // The bold isoline of the plan, where it crosses the centre line, lies where the
    // distance solver puts the minimal distance.
    void limitLineMeetsTheSolver_data() { storages(); }
    void limitLineMeetsTheSolver()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(bool, envelope);
        const ExplorationInput input = explorationOf(storage, envelope);
        Refusal refusal;
        const Answers answers = ComputeAnswers(input, refusal);
        QVERIFY(!refusal.refused());
        QVERIFY(answers.distance.found);
        // The window's own range across at its full 200 points; three rows around the point's line.
        PlanExtent extent = PlanExtentFor(input, answers);
        extent.yFrom = storage.y - 0.5;
        extent.yTo = storage.y + 0.5;
        const PlanMap map = ComputePlanMap(input, extent, 200, refusal, {}, 3);
        QVERIFY(!refusal.refused());
        const double crossing = farthestCrossing(engine::ContourLines(map.grid, input.limitKw), storage.y);
        QVERIFY2(std::abs(crossing - answers.distance.value) <= 0.05,
                 qPrintable(QString("isoline %1 m, solver %2 m").arg(crossing).arg(answers.distance.value)));
    }

    void tableCsvCarriesTheNumbers()
    {
        Exploration exploration;
        exploration.input = explorationOf(centred(Given()));
        Refusal refusal;
        exploration.distance = ComputeDistanceProfile(exploration.input, 30, 7, refusal);
        const TableData table = TableFor(ViewKind::Distance, exploration, QLocale::c());
        QCOMPARE(table.headers.size(), 7);
        const QList<QByteArray> lines = TableCsv(table, CsvStyle::Point).split('\n');
        QCOMPARE(lines.size(), 7 + 2); // header, seven rows, the empty rest after the last newline
        for (int r = 0; r < 7; ++r) {
            const QList<QByteArray> cells = lines[r + 1].split(',');
            QCOMPARE(cells.size(), 7);
            QCOMPARE(cells[0].toDouble(), exploration.distance.distances[size_t(r)]);
            QCOMPARE(cells[3].toDouble(), exploration.distance.levels[2][size_t(r)]);
            QCOMPARE(cells[6].toDouble(), exploration.distance.highest[size_t(r)]);
        }
    }
};

QTEST_GUILESS_MAIN(TestExploration)
#include "tst_exploration.moc"
