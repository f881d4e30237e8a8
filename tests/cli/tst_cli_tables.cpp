// The CSV tables of warmtegloed-cli (--sweep, --grid) against single calculations of the
// engine: every number reads back as the same double, in its shortest text; rows the method
// cannot give or whose points lie between the pile and its screen empty; no level below zero
// from rounding.

#include "cli_process.h"

#include "calculation_state.h"
#include "given_input.h"

#include <QTest>

#include <algorithm>

using Input = engine::CalculationInput;

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

std::vector<double> calculated(const Input &in)
{
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(in, state);
    return result.ok() ? result.levels : std::vector<double> {};
}

QList<QStringList> rowsOf(const QString &csv)
{
    QList<QStringList> rows;
    for (const QString &line : csv.split('\n', Qt::SkipEmptyParts).mid(1))
        rows.append(line.split(','));
    return rows;
}

double &member(Input &input, const QString &quantity)
{
    if (quantity == "xs")
        return input.xs;
    if (quantity == "H")
        return input.H;
    return input.x;
}

} // namespace

class TestCliTables : public QObject
{
    Q_OBJECT

private slots:
    // Each row is the window's answer for its value: the same levels, or none at all.
    void sweepEqualsSingleCalculations_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Input>("storage");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<int>("emptyRows");

        QTest::newRow("pile height, through no flame")
            << QStringList {"--B", "5", "--D", "5", "--sweep", "H=0.05:3:0.35"}
            << Input(Given().storage(5, 5, 8)) << "H" << 1;
        QTest::newRow("distance, from between pile and screen")
            << QStringList {"--screen", "--hs", "4", "--xs", "3", "--sweep", "x=1:5:0.5"}
            << Input(Given().screen(4, 3, 1)) << "x" << 4;
        QTest::newRow("screen, past the points")
            << QStringList {"--screen", "--hs", "4", "--x", "6", "--sweep", "xs=4:8:1"}
            << Input(Given().screen(4, 0, 1).point(6, 5)) << "xs" << 2;
    }

    void sweepEqualsSingleCalculations()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Input, storage);
        QFETCH(QString, quantity);
        QFETCH(int, emptyRows);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.err, "");
        const qsizetype columns = 5 + 2;
        QCOMPARE(run.out.section('\n', 0, 0).split(',').size(), columns);

        int empty = 0;
        for (const QStringList &fields : rowsOf(run.out)) {
            QCOMPARE(fields.size(), columns);
            Input at = storage;
            member(at, quantity) = fields[0].toDouble();
            const bool beforeScreen = at.screen && at.x < at.xs;
            const std::vector<double> levels = beforeScreen ? std::vector<double> {} : calculated(at);
            if (levels.empty()) {
                ++empty;
                QVERIFY2(fields.mid(1).join("").isEmpty(), qPrintable(fields.join(',')));
                continue;
            }
            for (std::size_t i = 0; i < levels.size(); ++i)
                QCOMPARE(fields[qsizetype(i + 1)].toDouble(), std::max(levels[i], 0.0) / 1000);
            QCOMPARE(fields.last().toDouble(),
                     std::max(*std::max_element(levels.begin(), levels.end()), 0.0) / 1000);
        }
        QCOMPARE(empty, emptyRows);
    }

    void gridEqualsSingleCalculations()
    {
        const CliRun run = runCli({"--grid", "x=1:9:4,y=-2:6:2.5", "--at-height", "3.3"});
        QCOMPARE(run.exit, 0);
        const QList<QStringList> rows = rowsOf(run.out);
        QCOMPARE(rows.size(), 3 * 4);
        for (const QStringList &fields : rows) {
            QCOMPARE(fields.size(), 3);
            const Input at =
                Given().point(fields[0].toDouble(), fields[1].toDouble()).at({3.3, 3.3, 3.3, 3.3, 3.3});
            QCOMPARE(fields[2].toDouble(), calculated(at).front() / 1000);
        }
    }

    // Single fields where the text itself matters.
    void fields_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("expected"); // the first fields of that row

        const QStringList screen {"--screen", "--hs", "10", "--xs", "2", "--K", "1"};
        QTest::newRow("a level below zero from rounding is 0")
            << screen + QStringList {"--sweep", "x=3:4:1"} << 0 << QStringList {"3", "0"};
        QTest::newRow("grid: a point before the screen is empty")
            << screen + QStringList {"--grid", "x=1:3:1,y=5:5:1"} << 0 << QStringList {"1", "5", ""};
        QTest::newRow("values on the grid they were written on")
            << QStringList {"--sweep", "x=0.1:0.3:0.1"} << 2 << QStringList {"0.3"};
        QTest::newRow("a negative zero start is zero")
            << QStringList {"--grid", "x=1:1:1,y=-0:1:1"} << 0 << QStringList {"1", "0"};
    }

    void fields()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, row);
        QFETCH(QStringList, expected);
        const CliRun run = runCli(arguments);
        QCOMPARE(run.exit, 0);
        const QList<QStringList> rows = rowsOf(run.out);
        QVERIFY(row < rows.size());
        QCOMPARE(rows[row].mid(0, expected.size()), expected);
        QVERIFY2(!run.out.contains(",-"), qPrintable(run.out));
    }
};

QTEST_MAIN(TestCliTables)
#include "tst_cli_tables.moc"
