// warmtegloed-cli as a user runs it, a separate process: the JSON against the engine's own
// numbers, the plain lines, the exit codes and Dutch messages; the limit answers, sweeps and
// grids against the engine; the chart files opened by their own readers; the --pdf report.

#include "calculation_state.h"
#include "given_input.h"
#include "limit.h"
#include "number_text.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include <sys/stat.h>

using Input = engine::CalculationInput;
using State = engine::CalculationState;
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

const std::pair<const char *, double State::*> Fields[] = {
    {"StorageWidth", &State::StorageWidth},     {"StorageDepth", &State::StorageDepth},
    {"StorageHeight", &State::StorageHeight},   {"PointDistance", &State::PointDistance},
    {"ScreenDistance", &State::ScreenDistance}, {"ScreenEfficiency", &State::ScreenEfficiency},
    {"ScreenHeight", &State::ScreenHeight},     {"CountedFaceWidth", &State::CountedFaceWidth},
    {"PointFraction", &State::PointFraction},   {"EquivalentDiameter", &State::EquivalentDiameter},
    {"FlameHeight", &State::FlameHeight},       {"Transmission", &State::Transmission}};

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
        qputenv("LC_ALL", "nl_NL.UTF-8"); // a Dutch user's locale must not make the point a comma
    }
    // A JSON answer is compared with the engine's own numbers for the input the arguments give:
    // every option, with "=" and with a single dash.
    void json()
    {
        const QString arguments = "--json --compact --screen --B=100 -D 20 --H 6 -x=20 "
                                  "--y 80 --hs 3 --xs=2 --K 0.5 --heights 0.5,1.25,3,4e0,12.5";
        const Input input =
            Given().compact().storage(100, 20, 6).point(20, 80).screen(3, 2, 0.5).at({0.5, 1.25, 3, 4, 12.5});
        const Run run = runCli(arguments.split(' '));
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.err, "");
        const QJsonDocument json = QJsonDocument::fromJson(run.out.toUtf8());
        QVERIFY2(json.isObject(), qPrintable(run.out));
        State state;
        const engine::CalculationResult result = engine::Calculate(input, state);
        for (const auto &[name, field] : Fields) // raw numbers survive the text unchanged
            QVERIFY2(json[name].toDouble(qQNaN()) == state.*field, name);
        QJsonArray levels;
        QJsonArray texts;
        for (std::size_t i = 0; i < result.levels.size(); ++i) {
            levels.append(result.levels[i]);
            texts.append(QString::fromStdString(result.texts[i]));
        }
        QCOMPARE(json["levels"].toArray(), levels);
        QCOMPARE(json["texts"].toArray(), texts);
    }

    void plain_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString efficiency = "' voor --K: het rendement van de afscherming ligt tussen 0 en 1.\n";
        // clang-format off
        QTest::newRow("width 0") << "--B 0" << 1 << "" << "De breedte van de opslag moet groter zijn dan 0 m.\n";
        QTest::newRow("undefined flame, one line") << "--B 8.7 --D 8.7 --H 0.5" << 1 << ""
            << "Voor deze afmetingen komt de vlamhoogte uit op -0.33 m, dus op of onder 0 m. "
               "Vergroot de hoogte of de afmetingen van de opslag.\n";
        QTest::newRow("K below 0") << "--screen --hs 4 --xs 2 --K -5" << 2 << ""
            << "warmtegloed-cli: Ongeldige waarde '-5" + efficiency;
        QTest::newRow("negative depth") << "--D -5" << 1 << "" << "De diepte van de opslag moet groter zijn dan 0 m.\n";
        QTest::newRow("indoor width beyond reach, no null") << "--json --indoor --B 1e307" << 1 << ""
            << "Voor deze invoer is geen warmtestralingsniveau te berekenen. Controleer de ingevoerde waarden.\n";
        QTest::newRow("terminal escape in a value") << "--x \x1b[2J" << 2 << ""
            << "warmtegloed-cli: Ongeldige waarde '\\x1b[2J' voor --x: verwacht een getal met een decimale punt.\n";
        QTest::newRow("limit 0") << "--limit 0" << 2 << ""
            << "warmtegloed-cli: Ongeldige waarde '0' voor --limit: "
               "verwacht een getal groter dan 0 met een decimale punt.\n";
        QTest::newRow("unknown quantity to solve") << "--solve depth" << 2 << ""
            << "warmtegloed-cli: Onbekende grootheid 'depth' voor --solve: kies distance, height of width.\n";
        QTest::newRow("no height complies") << "--solve height --limit 0.001" << 1 << ""
            << "Geen hoogte tot 15 m voldoet: op 5 m afstand komt het warmtestralingsniveau al bij de laagste opslag "
               "boven 0.001 kW/m².\n";
        // clang-format on
    }

    void plain()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run run = runCli(arguments.split(' '));
        QCOMPARE(run.exit, exitCode);
        QCOMPARE(run.out, out);
        QCOMPARE(run.err, err);
    }
    void report_data()
    {
        QTest::addColumn<QString>("setup"); // what stands at the path before
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("onPage");
        const QStringList limitedFace {
            "Berekeningsmethode warmtegloedvracht opslagen. Versie 1.0 2003",
            "De breedte van de opslag bedraagt 40 m.", "De berekende transmissie bedraagt 82.48%.",
            "Van de gehele gevel is 40 m in rekening gebracht.", "Beoordelingspunt 5 12.5 13.66"};
        QTest::newRow("replaced file")
            << "file"
            << "--B 100 --D 20 --H 6 --x 20 --y 80 --screen --hs 3 --xs 2 --K 0.5" << 0 << limitedFace;
        QTest::newRow("undefined flame") << "file"
                                         << "--B 8.7 --D 8.7 --H 0.5" << 1 << QStringList();
        QTest::newRow("FIFO") << "fifo"
                              << "" << 3 << QStringList();
    }
    void report()
    {
        QFETCH(QString, setup);
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, onPage);
        QTemporaryDir dir;
        const QString file = dir.filePath("rapport.pdf");
        const QByteArray name = QFile::encodeName(file);
        if (setup == "file") {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("oud") == 3 && old.flush());
        }
        if (setup == "fifo")
            QVERIFY(::mkfifo(name, 0644) == 0);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

        QProcess cli;
        cli.start(WARMTEGLOED_CLI, QStringList {"--pdf", file} + arguments.split(' ', Qt::SkipEmptyParts));
        QVERIFY(cli.waitForFinished(30000));
        const QString error = QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), exitCode);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
        if (exitCode == 3)
            QVERIFY2(error.startsWith("warmtegloed-cli: ") && error.count('\n') == 1 && error.contains(file),
                     qPrintable(error));
        if (exitCode != 0) {
            QFile kept(file);
            QVERIFY(setup != "file" || (kept.open(QIODevice::ReadOnly) && kept.readAll() == "oud"));
            return;
        }
        QProcess pdftotext; // -layout keeps a table row on one line
        pdftotext.start("pdftotext", {"-layout", file, "-"});
        const QString page =
            pdftotext.waitForFinished() ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : "";
        QCOMPARE(page.count('\f'), 1); // one page
        for (const QString &part : onPage)
            QVERIFY2(page.simplified().contains(part), qPrintable(part + "\nnot in:\n" + page));
    }
    void answers_data();
    void answers();
    void sweepEqualsSingleCalculations_data();
    void sweepEqualsSingleCalculations();
    void gridEqualsSingleCalculations();
    void chartFiles_data();
    void chartFiles();
};

void TestCli::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("line"); // the last plain line, before the value

    QTest::newRow("distance, default limit") << QStringList {"--solve", "distance"} << Quantity::Distance
                                             << 15.0 << "Minimale afstand voor 15 kW/m²: ";
    QTest::newRow("width, other limit, compact")
        << QStringList {"--solve", "width", "--limit", "12.5", "--compact"} << Quantity::Width << 12.5
        << "Maximale breedte van de opslag voor 12.5 kW/m²: ";
}

void TestCli::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(Quantity, quantity);
    QFETCH(double, limit);
    QFETCH(QString, line);
    Input in;
    in.compact = arguments.contains("--compact");
    const engine::Solution expected = engine::Solve(in, quantity, limit, false);
    const engine::LimitCheck check = engine::CheckLimit(in, limit, false);
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

void TestCli::sweepEqualsSingleCalculations_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("quantity");

    QTest::newRow("distance") << QStringList {"--sweep", "x=0.5:30:2.1"} << "x";
    QTest::newRow("pile height, through no flame")
        << QStringList {"--B", "5", "--D", "5", "--sweep", "H=0.05:3:0.35"} << "H";
}

void TestCli::sweepEqualsSingleCalculations()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, quantity);
    const Run run = runCli(arguments);
    QCOMPARE(run.exit, 0);
    Input in;
    in.B = arguments.contains("5") ? 5 : 10;
    in.D = in.B;
    const std::size_t count = 5;
    QCOMPARE(run.out.section('\n', 0, 0).split(',').size(), qsizetype(count + 2));

    int refused = 0;
    for (const QString &row : run.out.split('\n', Qt::SkipEmptyParts).mid(1)) {
        const QStringList fields = row.split(',');
        QCOMPARE(fields.size(), qsizetype(count + 2));
        const double value = fields[0].toDouble();
        Input at = in;
        (quantity == "x" ? at.x : at.H) = value;
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

void TestCli::gridEqualsSingleCalculations()
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

void TestCli::chartFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("svg, envelope") << "grafiek.svg" << QStringList {"--envelope", "--compact"};
    QTest::newRow("png, screen") << "grafiek.png" << QStringList {"--screen", "--hs", "6", "--xs", "3"};
    QTest::newRow("pdf, indoor") << "grafiek.PDF" << QStringList {"--indoor"};
}

void TestCli::chartFiles()
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

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
