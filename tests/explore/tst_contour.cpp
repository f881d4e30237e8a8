// Isolines by marching squares: their shape on fields with known isolines, how the
// pieces are joined, saddles and holes.

#include "contour.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <limits>

using engine::ContourLine;
using engine::ContourLines;
using engine::ContourSegments;
using engine::ScalarGrid;

enum class Shape { Cone, PlaneWithHole };
Q_DECLARE_METATYPE(Shape)

namespace {

// A grid over [-5, 5] x [-5, 5] at 0.1 m.
ScalarGrid sample(const std::function<double(double, double)> &f)
{
    ScalarGrid grid;
    grid.nx = 101;
    grid.ny = 101;
    grid.x0 = -5;
    grid.y0 = -5;
    grid.dx = 0.1;
    grid.dy = 0.1;
    for (int j = 0; j < grid.ny; ++j) {
        for (int i = 0; i < grid.nx; ++i)
            grid.values.push_back(f(grid.x0 + i * grid.dx, grid.y0 + j * grid.dy));
    }
    return grid;
}

ScalarGrid shaped(Shape shape)
{
    switch (shape) {
    case Shape::Cone:
        return sample([](double x, double y) { return 10 - std::hypot(x, y); });
    case Shape::PlaneWithHole: {
        ScalarGrid grid = sample([](double x, double) { return x; });
        // Row j = 50 (y = 0) has no values from x = 0 to x = 2.
        for (int i = 50; i <= 70; ++i)
            grid.values[size_t(50 * grid.nx + i)] = std::numeric_limits<double>::quiet_NaN();
        return grid;
    }
    }
    return {};
}

// How far a point of an isoline lies from where the field truly has the level.
double offLine(Shape shape, const engine::ContourPoint &p, double level)
{
    switch (shape) {
    case Shape::Cone:
        return std::abs(std::hypot(p.x, p.y) - (10 - level));
    case Shape::PlaneWithHole:
        return std::abs(p.x - level);
    }
    return 0;
}

} // namespace

class TestContour : public QObject
{
    Q_OBJECT

private slots:
    void linesFollowTheLevel_data()
    {
        QTest::addColumn<Shape>("shape");
        QTest::addColumn<double>("level");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("closed");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("circle around the top") << Shape::Cone << 7.0 << 1 << 1 << 0.01;
        QTest::newRow("line broken by a hole") << Shape::PlaneWithHole << 1.25 << 2 << 0 << 1e-12;
    }
    void linesFollowTheLevel()
    {
        QFETCH(Shape, shape);
        QFETCH(double, level);
        QFETCH(int, lines);
        QFETCH(int, closed);
        QFETCH(double, tolerance);
        const ScalarGrid grid = shaped(shape);
        const std::vector<ContourLine> found = ContourLines(grid, level);
        QCOMPARE(int(found.size()), lines);
        int closedFound = 0;
        size_t pieces = 0;
        for (const ContourLine &line : found) {
            closedFound += line.closed;
            pieces += line.points.size() - 1;
            for (const auto &p : line.points)
                QVERIFY2(offLine(shape, p, level) <= tolerance,
                         qPrintable(QString("%1 %2").arg(p.x).arg(p.y)));
            const auto &first = line.points.front();
            const auto &last = line.points.back();
            // A closed line ends where it began; an open one ends on the border or at a hole.
            QCOMPARE(line.closed, first.x == last.x && first.y == last.y);
        }
        QCOMPARE(closedFound, closed);
        // Every piece of the isoline is in exactly one line.
        QCOMPARE(pieces, ContourSegments(grid, level).size());
    }

    // One cell with the high corners opposite: the mean decides which pair is joined.
    void saddleFollowsTheCellMean_data()
    {
        QTest::addColumn<double>("level");
        QTest::addColumn<bool>("highCornersJoined");
        QTest::newRow("mean above the level") << 0.4 << true;
        QTest::newRow("mean below the level") << 0.6 << false;
    }
    void saddleFollowsTheCellMean()
    {
        QFETCH(double, level);
        QFETCH(bool, highCornersJoined);
        ScalarGrid grid;
        grid.nx = 2;
        grid.ny = 2;
        grid.values = {1, 0, 0, 1}; // (0,0) and (1,1) high
        const auto segments = ContourSegments(grid, level);
        QCOMPARE(segments.size(), size_t(2));
        for (const auto &segment : segments) {
            // Each piece cuts off one corner: its two ends lie on the same side of the diagonal
            // through the corners that are cut off.
            const double sideA =
                highCornersJoined ? segment.a.y - segment.a.x : segment.a.x + segment.a.y - 1;
            const double sideB =
                highCornersJoined ? segment.b.y - segment.b.x : segment.b.x + segment.b.y - 1;
            QVERIFY(sideA * sideB > 0);
        }
    }
};

QTEST_GUILESS_MAIN(TestContour)
#include "tst_contour.moc"
