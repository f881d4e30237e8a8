// warmtegloed-cli as a user runs it, a separate process: the JSON against the engine's own
// numbers, the exit codes and one-line Dutch messages, the ranges of the numbers; the limit
// verdict and the solvers' answers, bounds included; the chart's mark; the --pdf report in the
// user's locale; a quiet stderr in cron-like runs. What every command line owes (one line,
// nothing left after an error, whole files) the hostile test holds over thousands of them.

#include "cli_process.h"

#include "calculation_state.h"
#include "given_input.h"
#include "limit.h"
#include "number_text.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using Input = engine::CalculationInput;
using Quantity = engine::SolveQuantity;

Q_DECLARE_METATYPE(engine::SolveQuantity)

namespace {

QString text(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

QJsonObject jsonOf(const CliRun &run)
{
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

// What pdftotext reads on the page, a table row on one line.
QString pageText(const QString &file)
{
    QProcess pdftotext;
    pdftotext.start("/usr/bin/pdftotext", {"-layout", file, "-"});
    return pdftotext.waitForFinished() ? QString::fromUtf8(pdftotext.readAllStandardOutput()) : QString();
}

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
        const CliRun run = runCli(arguments.split(' '));
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.err, "");
        const QJsonObject json = jsonOf(run);
        engine::CalculationState state;
        const engine::CalculationResult result = engine::Calculate(input, state);
        QJsonArray levels;
        QJsonArray texts;
        for (std::size_t i = 0; i < result.levels.size(); ++i) {
            levels.append(result.levels[i]);
            texts.append(QString::fromStdString(result.texts[i]));
        }
        QCOMPARE(json["levels"].toArray(), levels);
        QCOMPARE(json["texts"].toArray(), texts);
    }

    // Every refusal is one line with the program's name, whatever the exit code, and leaves
    // stdout empty; an answer leaves stderr empty.
    void messages_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        const QString name = "warmtegloed-cli: ";
        const QString flame = name
            + "Voor deze afmetingen komt de vlamhoogte uit op -0.33 m, dus op of onder 0 m. "
              "Vergroot de hoogte of de afmetingen van de opslag.\n";
        // clang-format off
        QTest::newRow("undefined flame") << "--B 8.7 --D 8.7 --H 0.5" << 1 << flame;
        QTest::newRow("grid of an undefined flame") << "--B 8.7 --D 8.7 --H 0.5 --grid x=1:2:1,y=1:2:1" << 1 << flame;
        const QString beforeScreen = name + "De beoordelingspunten (--x 2) liggen tussen de opslag en de afscherming "
                                            "(--xs 3); kies --x minstens zo groot als --xs.\n";
        QTest::newRow("point between pile and screen") << "--x 2 --screen --hs 4 --xs 3" << 2 << beforeScreen;
        QTest::newRow("a sweep that leaves the point before the screen")
            << "--x 2 --screen --hs 4 --xs 3 --sweep H=1:2:1" << 2 << beforeScreen;
        QTest::newRow("point at the screen") << "--x 3 --screen --hs 4 --xs 3" << 0 << "";
        QTest::newRow("no screen, no matter where it would stand") << "--x 2 --hs 4 --xs 3" << 0 << "";
        QTest::newRow("height of 1e17 m") << "--check --envelope --limit 44.9 --heights 2.5,5,7.5,10,1e17" << 2
            << name + "Waarde '1e17' voor --heights ligt buiten het bereik 0 t/m 100 m.\n";
        QTest::newRow("screen at 1e17 m") << "--solve distance --screen --hs 1 --xs 1e17" << 2
            << name + "Waarde '1e17' voor --xs ligt buiten het bereik 0 t/m 10000 m.\n";
        QTest::newRow("limit 1e308") << "--limit 1e308" << 2
            << name + "Waarde '1e308' voor --limit ligt buiten het bereik 0.1 t/m 100 kW/m².\n";
        QTest::newRow("terminal escape in a value") << "--x \x1b[2J" << 2
            << name + "Ongeldige waarde '\\x1b[2J' voor --x: verwacht een getal met een decimale punt, "
                      "0.01 t/m 10000 m.\n";
        QTest::newRow("sweep step below the printed resolution") << "--sweep x=1:2:0.0001" << 2
            << name + "De stap in --sweep x=1:2:0.0001 ligt buiten het bereik 0.001 t/m 20000 m.\n";
        QTest::newRow("a report without a name") << "--pdf=" << 2 << name + "--pdf verwacht de naam van een bestand.\n";
        // clang-format on
    }

    void messages()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        const CliRun run = runCli(arguments.split(' '));
        QCOMPARE(run.exit, exitCode);
        QCOMPARE(run.err, err);
        QCOMPARE(run.out.isEmpty(), exitCode != 0);
    }

    void version()
    {
        const CliRun run = runCli({"--version"});
        QCOMPARE(run.exit, 0);
        QCOMPARE(run.out,
                 QStringLiteral("warmtegloed-cli (Warmtegloedvracht) %1\n").arg(WARMTEGLOED_VERSION));
    }

    // The verdict says when the five points comply and the level between them does not.
    void verdict_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<bool>("onlyAtPoints");
        QTest::newRow("points comply, between them not")
            << "--check --x 12.89"
            << "Grenswaarde 15 kW/m²: voldoet op de beoordelingspunten, maar niet daartussen: "
               "15.01 kW/m² op 8.25 m hoogte (zie --envelope)"
            << true;
        QTest::newRow("over the envelope itself") << "--check --envelope --x 12.89"
                                                  << "Grenswaarde 15 kW/m²: voldoet niet" << false;
        QTest::newRow("points and envelope comply") << "--check --x 14"
                                                    << "Grenswaarde 15 kW/m²: voldoet" << false;
    }

    void verdict()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, verdict);
        QFETCH(bool, onlyAtPoints);
        const CliRun plain = runCli(arguments.split(' '));
        QCOMPARE(plain.exit, 0);
        QCOMPARE(plain.out.split('\n', Qt::SkipEmptyParts).last(), verdict);

        const CliRun json = runCli(arguments.split(' ') + QStringList {"--json"});
        const QJsonObject limit = jsonOf(json).value("limit").toObject();
        const QJsonObject envelope = limit.value("envelope").toObject();
        Input in;
        in.x = arguments.section("--x ", 1).section(' ', 0, 0).toDouble();
        const engine::LimitCheck check = engine::CheckLimit(in, 15, arguments.contains("--envelope"));
        QCOMPARE(envelope.value("highest").toDouble(), check.envelopeHighest);
        QCOMPARE(envelope.value("height").toDouble(), check.envelopeHeight);
        QCOMPARE(envelope.value("complies").toBool(), check.envelopeComplies);
        QCOMPARE(limit.value("compliesOnlyAtPoints").toBool(), onlyAtPoints);
    }

    void answers_data();
    void answers();
    void reportInTheUsersLocale();
    void refusedReport_data();
    void refusedReport();
    void chartMarks_data();
    void chartMarks();
    void quietInScripts();
};

void TestCli::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("limit");
    QTest::addColumn<QString>("answer"); // the last plain line; %1 the value, %2 half of it
    QTest::addColumn<QString>("bound");  // JSON, empty for null

    QTest::newRow("every distance complies")
        << QStringList {"--solve", "distance", "--limit", "100"} << Quantity::Distance << 100.0
        << "Minimale afstand voor 100 kW/m²: elke afstand voldoet (vanaf 0.1 m)"
        << "lowest";
    QTest::newRow("height at the top of the search")
        << QStringList {"--solve", "height", "--limit", "100"} << Quantity::Height << 100.0
        << "Maximale hoogte van de opslag voor 100 kW/m²: ≥ 15 m (hoogste onderzochte hoogte)"
        << "highest";
    QTest::newRow("width, in front of the middle, compact")
        << QStringList {"--solve", "width", "--limit", "12.5", "--compact"} << Quantity::Width << 12.5
        << "Maximale breedte van de opslag voor 12.5 kW/m²: %1 m, "
           "voor een beoordelingspunt voor het midden van de gevel (y = %2 m)"
        << "";
    QTest::newRow("width at the top of the search")
        << QStringList {"--solve", "width", "--limit", "100"} << Quantity::Width << 100.0
        << "Maximale breedte van de opslag voor 100 kW/m²: ≥ 10000 m (grootste onderzochte breedte), "
           "voor een beoordelingspunt voor het midden van de gevel (y = 5000 m)"
        << "highest";
}

void TestCli::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(Quantity, quantity);
    QFETCH(double, limit);
    QFETCH(QString, answer);
    QFETCH(QString, bound);
    Input in;
    in.compact = arguments.contains("--compact");
    const engine::Solution expected = engine::Solve(in, quantity, limit, false);
    QVERIFY(expected.found);

    const CliRun plain = runCli(arguments);
    QCOMPARE(plain.exit, 0);
    const QString line =
        bound.isEmpty() ? answer.arg(text(expected.value), text(expected.value / 2)) : answer;
    QCOMPARE(plain.out.split('\n', Qt::SkipEmptyParts).last(), line);

    const CliRun json = runCli(arguments + QStringList {"--json"});
    QCOMPARE(json.exit, 0);
    const QJsonObject solution = jsonOf(json).value("solution").toObject();
    QCOMPARE(solution.value("value").toDouble(), expected.value);
    QCOMPARE(solution.value("bound"), bound.isEmpty() ? QJsonValue() : QJsonValue(bound));
    const double position = quantity == Quantity::Width ? expected.value / 2 : in.y;
    QCOMPARE(solution.value("position").toDouble(), position);
}

// The report under a Dutch user's locale is the window's page, with decimal commas; the CLI's
// own line on stdout keeps the point.
void TestCli::reportInTheUsersLocale()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("rapport.pdf");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "nl_NL.UTF-8");
    const CliRun run = runCli({"--pdf", file, "--compact"}, environment, 60000);
    QCOMPARE(run.exit, 0);
    QCOMPARE(run.err, "");
    QVERIFY2(run.out.startsWith("Beoordelingspunt 1: hoogte 2.5 m, 21.7 kW/m²"), qPrintable(run.out));
    const QString page = pageText(file);
    QCOMPARE(page.count('\f'), 1); // one page
    const QStringList onPage {"De warmtestralingsflux vanuit de stapel bedraagt 46,2 kW per m",
                              "De berekende transmissie bedraagt 93,44%.", "Beoordelingspunt 1 2,5 21,7"};
    for (const QString &part : onPage)
        QVERIFY2(page.simplified().contains(part), qPrintable(part + "\nnot in:\n" + page));
}

// A report that cannot be written, or whose chart cannot, is refused before anything is
// written, with a Dutch reason.
void TestCli::refusedReport_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("said");
    QTest::newRow("the chart's folder missing: no report either")
        << "chart in a missing folder"
        << "grafiek.svg' kan niet worden geschreven: ";
    QTest::newRow("the chart behind a link into a missing folder: no report either")
        << "chart behind a dangling link"
        << "grafiek.svg' kan niet worden geschreven: ";
    QTest::newRow("missing folder, a Dutch reason") << "missing folder"
                                                    << "rapport.pdf' kan niet worden geschreven: ";
}

void TestCli::refusedReport()
{
    QFETCH(QString, setup);
    QFETCH(QString, said);
    QTemporaryDir dir;
    const QString file = dir.filePath(setup == "missing folder" ? "nergens/rapport.pdf" : "rapport.pdf");
    QStringList chart;
    if (setup == "chart in a missing folder")
        chart = QStringList {"--plot", dir.filePath("nergens/grafiek.svg")};
    if (setup == "chart behind a dangling link") {
        QVERIFY(QFile::link("nergens/doel.svg", dir.filePath("grafiek.svg")));
        chart = QStringList {"--plot", dir.filePath("grafiek.svg")};
    }
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");
    const CliRun run = runCli(QStringList {"--pdf", file} + chart, environment, 60000);
    QCOMPARE(run.exit, 3);
    QVERIFY2(isOneComplaint(run.err) && run.err.contains(said), qPrintable(run.err));
    // A Dutch reason, not the C library's English one.
    QVERIFY2(!run.err.contains(QString::fromLocal8Bit(std::strerror(ENOENT))), qPrintable(run.err));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
}

// The chart marks the solver's minimal distance, in the window's words; where the first distance
// searched complies already, it marks none and the limit line says so.
void TestCli::chartMarks_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("notShown");

    const engine::Solution distance = engine::Solve(Given().compact(), Quantity::Distance, 15, true);
    QTest::newRow("the minimal distance")
        << QStringList {"--envelope", "--compact"} << "minimale afstand " + text(distance.value) + " m"
        << "elke afstand voldoet";
    QTest::newRow("every distance complies")
        << QStringList {"--limit", "95"} << "Grenswaarde 95 kW/m²: elke afstand voldoet"
        << "minimale afstand";
}

void TestCli::chartMarks()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    QFETCH(QString, notShown);
    QTemporaryDir dir;
    const QString path = dir.filePath("grafiek.svg");
    const CliRun run = runCli(arguments + QStringList {"--plot", path});
    QCOMPARE(run.exit, 0);
    QFile source(path);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(source.readAll());
    QVERIFY2(svg.contains(shown), qPrintable(shown));
    QVERIFY2(!svg.contains(notShown), qPrintable(notShown));
}

// As cron runs it: no runtime folder, no display, no locale; a report and a chart, and stderr
// stays empty.
void TestCli::quietInScripts()
{
    QTemporaryDir dir;
    const QStringList files {dir.filePath("rapport.pdf"), dir.filePath("grafiek.png")};
    const CliRun run = runCli({"--pdf", files[0], "--plot", files[1]}, bareEnvironment(), 60000);
    QCOMPARE(run.exit, 0);
    QCOMPARE(run.err, "");
    for (const QString &file : files)
        QVERIFY2(QFileInfo(file).size() > 0, qPrintable(file));
}

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
