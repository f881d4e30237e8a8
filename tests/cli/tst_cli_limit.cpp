// warmtegloed-cli's limit options as a user runs them: the answers against the engine's
// own, the exit codes and Dutch lines, sweeps and grids against single calculations,
// and the chart files opened by their own readers.

#include "calculate.h"
#include "calculation_state.h"
#include "limit.h"
#include "number_text.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using Input = engine::CalculationInput;
using Quantity = engine::SolveQuantity;

Q_DECLARE_METATYPE(engine::SolveQuantity)

namespace {

struct Run
{
    int exit = -1;
    QString out;
    QString err;
};

Run runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(WARMTEGLOED_CLI, arguments);
    Run run;
    // The chart computes a few thousand levels; a busy machine needs time.
    if (process.waitForFinished(300000) && process.exitStatus() == QProcess::NormalExit)
        run.exit = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

std::vector<double> calculated(const Input &in)
{
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(in, state);
    return result.ok() ? result.levels : std::vector<double> {};
}

} // namespace

class TestCliLimit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void answers_data();
    void answers();
    void noAnswerExitsWithExplanation();
    void badInput_data();
    void badInput();
    void sweepEqualsSingleCalculations_data();
    void sweepEqualsSingleCalculations();
    void gridEqualsSingleCalculations();
    void chartFiles_data();
    void chartFiles();
};

void TestCliLimit::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<bool>("envelope");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("line"); // the last plain line, before the value

    QTest::newRow("distance, default limit") << QStringList {"--solve", "distance"} << Quantity::Distance
                                             << false << 15.0 << "Minimale afstand voor 15 kW/m²: ";
    QTest::newRow("width, other limit, compact")
        << QStringList {"--solve", "width", "--limit", "12.5", "--compact"} << Quantity::Width << false
        << 12.5 << "Maximale breedte van de opslag voor 12.5 kW/m²: ";
}

void TestCliLimit::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(Quantity, quantity);
    QFETCH(bool, envelope);
    QFETCH(double, limit);
    QFETCH(QString, line);
    Input in;
    in.compact = arguments.contains("--compact");
    const engine::Solution expected = engine::Solve(in, quantity, limit, envelope);
    const engine::LimitCheck check = engine::CheckLimit(in, limit, envelope);
    QVERIFY(expected.found);

    const Run plain = runCli(arguments);
    QCOMPARE(plain.exit, 0);
    const QStringList lines = plain.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.last(), line + QString::fromStdString(engine::numberToText(expected.value, '.')) + " m");
    QCOMPARE(lines.at(lines.size() - 2), QString("Grenswaarde %1 kW/m²: voldoet niet").arg(limit));

    const Run json = runCli(arguments + QStringList {"--json"});
    QCOMPARE(json.exit, 0);
    const QJsonObject object = QJsonDocument::fromJson(json.out.toUtf8()).object();
    QCOMPARE(object.value("solution").toObject().value("value").toDouble(), expected.value);
    QCOMPARE(object.value("limit").toObject().value("highest").toDouble(), check.highest);
}

void TestCliLimit::noAnswerExitsWithExplanation()
{
    const engine::Solution none = engine::Solve(Input {}, Quantity::Height, 0.001, false);
    QVERIFY(!none.found);
    const Run run = runCli({"--solve", "height", "--limit", "0.001"});
    QCOMPARE(run.exit, 1);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err, QString::fromStdString(none.message) + '\n');
}

void TestCliLimit::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("option"); // named in the one line on standard error

    QTest::newRow("limit 0") << QStringList {"--limit", "0"} << "--limit";
    QTest::newRow("unknown quantity to solve") << QStringList {"--solve", "depth"} << "--solve";
    QTest::newRow("sweep step 0") << QStringList {"--sweep", "x=1:2:0"} << "--sweep";
    QTest::newRow("grid without y") << QStringList {"--grid", "x=0:1:1"} << "--grid";
    QTest::newRow("chart of unknown type") << QStringList {"--plot", "grafiek.txt"} << "--plot";
}

void TestCliLimit::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, option);
    const Run run = runCli(arguments);
    QCOMPARE(run.exit, 2);
    QCOMPARE(run.out, QString());
    QCOMPARE(run.err.count('\n'), 1);
    QVERIFY2(run.err.contains(option), qPrintable(run.err));
}

void TestCliLimit::sweepEqualsSingleCalculations_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("quantity");

    QTest::newRow("distance") << QStringList {"--sweep", "x=0.5:30:2.1"} << "x";
    QTest::newRow("pile height, through no flame")
        << QStringList {"--B", "5", "--D", "5", "--sweep", "H=0.05:3:0.35"} << "H";
    QTest::newRow("indoor position") << QStringList {"--indoor", "--sweep", "y=0:10:2.5"} << "y";
}

void TestCliLimit::sweepEqualsSingleCalculations()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, quantity);
    const Run run = runCli(arguments);
    QCOMPARE(run.exit, 0);
    Input in;
    in.B = arguments.contains("5") ? 5 : 10;
    in.D = in.B;
    in.indoor = arguments.contains("--indoor");
    const std::size_t count = in.indoor ? 1 : 5;
    QCOMPARE(run.out.section('\n', 0, 0).split(',').size(), qsizetype(count + 2));

    int refused = 0;
    for (const QString &row : run.out.split('\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList fields = row.split(',');
        QCOMPARE(fields.size(), qsizetype(count + 2));
        const double value = fields[0].toDouble();
        Input at = in;
        (quantity == "x" ? at.x : quantity == "H" ? at.H : at.y) = value;
        const std::vector<double> levels = calculated(at);
        if (levels.empty()) {
            ++refused;
            QVERIFY(fields.mid(1).join("").isEmpty());
            continue;
        }
        for (std::size_t i = 0; i < count; ++i)
            QCOMPARE(fields[qsizetype(i + 1)].toDouble(), levels[i] / 1000);
        QCOMPARE(fields.last().toDouble(), *std::max_element(levels.begin(), levels.end()) / 1000);
    }
    QCOMPARE(refused > 0, quantity == "H");
}

void TestCliLimit::gridEqualsSingleCalculations()
{
    const Run run = runCli({"--grid", "x=1:9:4,y=-2:6:2.5", "--at-height", "3.3"});
    QCOMPARE(run.exit, 0);
    const QStringList rows = run.out.split('\n', Qt::SkipEmptyParts).mid(1);
    QCOMPARE(rows.size(), 3 * 4);
    for (const QString &row : rows) {
        const QStringList fields = row.split(',');
        QCOMPARE(fields.size(), 3);
        Input at;
        at.x = fields[0].toDouble();
        at.y = fields[1].toDouble();
        at.heights = {3.3, 3.3, 3.3, 3.3, 3.3};
        QCOMPARE(fields[2].toDouble(), calculated(at).front() / 1000);
    }
}

void TestCliLimit::chartFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("svg, envelope") << "grafiek.svg" << QStringList {"--envelope", "--compact"};
    QTest::newRow("png, screen") << "grafiek.png" << QStringList {"--screen", "--hs", "6", "--xs", "3"};
    QTest::newRow("pdf, indoor") << "grafiek.PDF" << QStringList {"--indoor"};
}

void TestCliLimit::chartFiles()
{
    QFETCH(QString, file);
    QFETCH(QStringList, arguments);
    QTemporaryDir dir;
    const QString path = dir.filePath(file);
    const Run run = runCli(arguments + QStringList {"--plot", path});
    QCOMPARE(run.exit, 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList {file});

    if (file.endsWith(".svg")) {
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBoxF().size(), QSizeF(1050, 740));
    } else if (file.endsWith(".png")) {
        QImage image(path);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(1240, 874));
    } else {
        QProcess info;
        info.start("/usr/bin/pdfinfo", {path});
        QVERIFY(info.waitForFinished(30000));
        QCOMPARE(info.exitCode(), 0);
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(text.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(text));
    }
}

QTEST_MAIN(TestCliLimit)
#include "tst_cli_limit.moc"
