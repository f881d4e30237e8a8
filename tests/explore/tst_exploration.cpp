// The numbers behind the views are the engine's: the plan and its picture against single
// calculations, the limit's isoline on the centre line against the distance solver, and the
// table's CSV back to the same numbers.

#include "exploration.h"
#include "view_table.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace explore;

namespace {

struct Scenario
{
    double B = 10;
    double x = 5;
    double limit = 15;
    bool compact = false;
    bool screen = false;
    bool indoor = false;
    bool envelope = false;
};

ExplorationInput inputFor(const Scenario &scenario)
{
    ExplorationInput input;
    input.storage.B = scenario.B;
    input.storage.y = scenario.B / 2;
    input.storage.x = scenario.x;
    input.storage.compact = scenario.compact;
    input.storage.indoor = scenario.indoor;
    input.storage.screen = scenario.screen;
    if (scenario.screen) {
        input.storage.hs = 4;
        input.storage.xs = 2;
    }
    input.limitKw = scenario.limit;
    input.envelope = scenario.envelope;
    return input;
}

// The highest level in kW/m² that a single calculation gives at (x, y) over the judged heights.
double engineHighest(const ExplorationInput &input, double x, double y)
{
    engine::CalculationInput single = input.storage;
    single.x = x;
    single.y = y;
    double highest = 0;
    for (double z : JudgedHeights(input)) {
        single.heights = {z, z, z, z, z};
        engine::CalculationState state;
        highest = std::max(highest, engine::Calculate(single, state).levels.front() / 1000);
    }
    return highest;
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

Q_DECLARE_METATYPE(Scenario)

class TestExploration : public QObject
{
    Q_OBJECT

    void scenarios()
    {
        QTest::addColumn<Scenario>("scenario");
        QTest::newRow("defaults") << Scenario {};
        QTest::newRow("screen") << Scenario {10, 5, 15, false, true};
    }

private slots:
    void planIsTheEngine_data() { scenarios(); }
    void planIsTheEngine()
    {
        QFETCH(Scenario, scenario);
        const ExplorationInput input = inputFor(scenario);
        const PlanExtent extent {FirstDistance(input), 30, -10, input.storage.B + 10};
        Refusal refusal;
        const PlanMap map = ComputePlanMap(input, extent, 12, refusal);
        QVERIFY(!refusal.refused());
        QCOMPARE(map.grid.nx, 12);
        QCOMPARE(map.grid.ny, 12);
        for (int j = 0; j < 12; j += 5) {
            for (int i = 0; i < 12; i += 3) {
                const double expected =
                    engineHighest(input, extent.xFrom + i * map.grid.dx, extent.yFrom + j * map.grid.dy);
                QVERIFY2(close(map.grid.value(i, j), expected),
                         qPrintable(QString("node %1 %2").arg(i).arg(j)));
            }
        }
        // The picture that comes first draws the same map; a spot between the nodes is
        // computed where it lies.
        const PlanMap picture = ComputePlanMap(input, extent, 12, refusal, {}, 0, PlanPrecision::Picture);
        for (size_t node = 0; node < map.grid.values.size(); ++node)
            QVERIFY(std::abs(picture.grid.values[node] - map.grid.values[node]) <= 1e-5 * map.highestValue);
        const double x = extent.xFrom + 3.5 * map.grid.dx;
        const double y = extent.yFrom + 5.5 * map.grid.dy;
        double between = 0;
        QVERIFY(PlanLevelAt(input, x, y, between));
        QVERIFY(close(between, engineHighest(input, x, y)));
    }

    // The bold isoline of the plan, where it crosses the centre line, lies where the
    // distance solver puts the minimal distance.
    void limitLineMeetsTheSolver_data() { scenarios(); }
    void limitLineMeetsTheSolver()
    {
        QFETCH(Scenario, scenario);
        const ExplorationInput input = inputFor(scenario);
        Refusal refusal;
        const Answers answers = ComputeAnswers(input, refusal);
        QVERIFY(!refusal.refused());
        QVERIFY(answers.distance.found);
        // The window's own range across at its full 200 points; three rows around the centre line.
        PlanExtent extent = PlanExtentFor(input, answers);
        const double centre = input.storage.B / 2;
        extent.yFrom = centre - 0.5;
        extent.yTo = centre + 0.5;
        const PlanMap map = ComputePlanMap(input, extent, 200, refusal, {}, 3);
        QVERIFY(!refusal.refused());
        const double crossing = farthestCrossing(engine::ContourLines(map.grid, input.limitKw), centre);
        QVERIFY2(std::abs(crossing - answers.distance.value) <= 0.05,
                 qPrintable(QString("isoline %1 m, solver %2 m").arg(crossing).arg(answers.distance.value)));
    }

    void tableCsvCarriesTheNumbers()
    {
        Exploration exploration;
        exploration.input = inputFor(Scenario {});
        Refusal refusal;
        exploration.distance = ComputeDistanceProfile(exploration.input, 30, 7, refusal);
        const TableData table = TableFor(ViewKind::Distance, exploration, QLocale::c());
        QCOMPARE(table.headers.size(), 7);
        const QList<QByteArray> lines = TableCsv(table, CsvStyle::Point).split('\n');
        QCOMPARE(lines.size(), 7 + 2); // header, seven rows, the empty rest after the last newline
        QCOMPARE(lines.front(),
                 QByteArray("\"afstand x (m)\",\"punt 1 op 2.5 m (kW/m²)\",\"punt 2 op 5 m (kW/m²)\","
                            "\"punt 3 op 7.5 m (kW/m²)\",\"punt 4 op 10 m (kW/m²)\","
                            "\"punt 5 op 12.5 m (kW/m²)\",\"hoogste (kW/m²)\""));
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
