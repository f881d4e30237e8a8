// warmtegloed-cli as a separate process: the JSON against the engine's own numbers, the
// plain lines, and the exit codes and Dutch messages for bad and undefined input.

#include "calculate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QProcess>
#include <QTest>

namespace {

using Input = engine::CalculationInput;
using State = engine::CalculationState;

// The exit code, the standard output and the standard error.
QStringList runCli(const QStringList &arguments)
{
    qputenv("LC_ALL", "nl_NL.UTF-8"); // a Dutch user's locale must not make the point a comma
    QProcess process;
    process.start(WARMTEGLOED_CLI, arguments);
    const bool finished = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? QString::number(process.exitCode()) : "none", process.readAllStandardOutput(),
            process.readAllStandardError()};
}

void row(const char *name, const char *arguments, int exit, const QString &out, const QString &err = "",
         Input in = {})
{
    QTest::newRow(name) << QString(arguments).split(' ') << QStringList {QString::number(exit), out, err}
                        << in;
}

} // namespace

#define FIELD(name)                                                                                          \
    std::pair                                                                                                \
    {                                                                                                        \
#name, &State::name                                                                                  \
    }
Q_DECLARE_METATYPE(engine::CalculationInput)

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void run_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>(
            "expected"); // exit code, standard output ("JSON": see below), standard error
        QTest::addColumn<Input>("input");
        Input indoor, every;
        indoor.indoor = true, indoor.y = 2.5;
        every.compact = every.screen = true, every.B = 100, every.D = 20, every.H = 6, every.x = 20,
        every.y = 80;
        every.hs = 3, every.xs = 2, every.K = 0.5, every.heights = {0.5, 1.25, 3, 4, 12.5};
        row("json, indoor: one level", "--json --indoor --y 2.5", 0, "JSON", "", indoor);
        row("json, every option, = and single dash",
            "--json --compact --screen --B=100 -D 20 --H 6 -x=20 --y 80 "
            "--hs 3 --xs=2 --K 0.5 --heights 0.5,1.25,3,4e0,12.5",
            0, "JSON", "", every);
        row("plain, indoor: one point at half the height", "--indoor --B 20 --H 10 --x 1", 0,
            "Beoordelingspunt 1: hoogte 5 m, 43.84 kW/m²\n");
        row("not a number", "--B tien", 2, "",
            "warmtegloed-cli: Ongeldige waarde 'tien' voor --B: verwacht een getal "
            "met een decimale punt.\n");
        row("missing value", "--compact --D", 2, "", "warmtegloed-cli: Ontbrekende waarde na '--D'.\n");
        row("four heights", "--heights 1,2,3,4", 2, "",
            "warmtegloed-cli: --heights verwacht precies vijf hoogten, "
            "door komma's gescheiden (z1,z2,z3,z4,z5), niet '1,2,3,4'.\n");
        row("unknown option", "--width 10", 2, "", "warmtegloed-cli: Onbekende optie '--width'.\n");
        row("width 0", "--B 0", 1, "", "De breedte van de opslag moet groter zijn dan 0 m.\n");
    }

    void run()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, expected);
        QFETCH(Input, input);
        const QStringList run = runCli(arguments);
        const QJsonDocument json = QJsonDocument::fromJson(run[1].toUtf8());
        QCOMPARE(QStringList({run[0], json.isObject() ? "JSON" : run[1], run[2]}), expected);
        if (!json.isObject())
            return;
        State state;
        const engine::CalculationResult result = engine::Calculate(input, state);
        for (const auto &[name, field] :
             {FIELD(StorageWidth), FIELD(StorageDepth), FIELD(StorageHeight), FIELD(PointDistance),
              FIELD(ScreenDistance), FIELD(ScreenEfficiency), FIELD(ScreenHeight), FIELD(CountedFaceWidth),
              FIELD(PointFraction), FIELD(EquivalentDiameter), FIELD(FlameHeight), FIELD(Transmission)})
            QVERIFY2(json[name].toDouble(qQNaN()) == state.*field,
                     name); // raw numbers survive the text unchanged
        QJsonArray levels, texts;
        for (std::size_t i = 0; i < result.levels.size(); ++i)
            levels.append(result.levels[i]), texts.append(QString::fromStdString(result.texts[i]));
        QCOMPARE(json["levels"].toArray(), levels);
        QCOMPARE(json["texts"].toArray(), texts);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
