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
        row("negative depth", "--D -5", 1, "", "De diepte van de opslag moet groter zijn dan 0 m.\n");
        row("undefined flame, one line", "--B 8.7 --D 8.7 --H 0.5", 1, "",
            "Voor deze afmetingen komt de vlamhoogte uit op -0.33 m, dus op of onder 0 m. "
            "Vergroot de hoogte of de afmetingen van de opslag.\n");
        row("indoor width beyond reach, no null", "--json --indoor --B 1e307", 1, "",
            "Voor deze invoer is geen warmtestralingsniveau te berekenen. Controleer de ingevoerde "
            "waarden.\n");
        const QString efficiency = "' voor --K: het rendement van de afscherming ligt tussen 0 en 1.\n";
        row("K below 0", "--screen --hs 4 --xs 2 --K -5", 2, "",
            "warmtegloed-cli: Ongeldige waarde '-5" + efficiency);
        row("K above 1", "--K 1.01", 2, "", "warmtegloed-cli: Ongeldige waarde '1.01" + efficiency);
        row("line break in a value", "--B 1\n0", 2, "",
            "warmtegloed-cli: Ongeldige waarde '1\\n0' voor --B: verwacht een getal met een decimale "
            "punt.\n");
        row("terminal escape in a value", "--x \x1b[2J", 2, "",
            "warmtegloed-cli: Ongeldige waarde '\\x1b[2J' voor --x: verwacht een getal met een decimale "
            "punt.\n");
        row("huge height in exponent form", "--heights 1e307,5,7.5,10,12.5", 0,
            "Beoordelingspunt 1: hoogte 1E+307 m, 0 kW/m²\n"
            "Beoordelingspunt 2: hoogte 5 m, 44.17 kW/m²\n"
            "Beoordelingspunt 3: hoogte 7.5 m, 44.76 kW/m²\n"
            "Beoordelingspunt 4: hoogte 10 m, 41.72 kW/m²\n"
            "Beoordelingspunt 5: hoogte 12.5 m, 36.73 kW/m²\n");
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
