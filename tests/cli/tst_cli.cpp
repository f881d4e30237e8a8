// warmtegloed-cli as a separate process: the JSON against the engine's own numbers, the
// plain lines, and the exit codes and Dutch messages for bad and undefined input.

#include "given_input.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QProcess>
#include <QTest>

namespace {

using Input = engine::CalculationInput;
using State = engine::CalculationState;

// The exit code, the standard output and the standard error.
struct Run
{
    int exitCode;
    QString out;
    QString err;
};

Run runCli(const QString &arguments)
{
    qputenv("LC_ALL", "nl_NL.UTF-8"); // a Dutch user's locale must not make the point a comma
    QProcess process;
    process.start(WARMTEGLOED_CLI, arguments.split(' '));
    const bool finished = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, process.readAllStandardOutput(),
            process.readAllStandardError()};
}

const std::pair<const char *, double State::*> Fields[] = {
    {"StorageWidth", &State::StorageWidth},     {"StorageDepth", &State::StorageDepth},
    {"StorageHeight", &State::StorageHeight},   {"PointDistance", &State::PointDistance},
    {"ScreenDistance", &State::ScreenDistance}, {"ScreenEfficiency", &State::ScreenEfficiency},
    {"ScreenHeight", &State::ScreenHeight},     {"CountedFaceWidth", &State::CountedFaceWidth},
    {"PointFraction", &State::PointFraction},   {"EquivalentDiameter", &State::EquivalentDiameter},
    {"FlameHeight", &State::FlameHeight},       {"Transmission", &State::Transmission}};

} // namespace

Q_DECLARE_METATYPE(engine::CalculationInput)

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // A JSON answer is compared with the engine's own numbers for the input the arguments give.
    void json_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<Input>("input");
        QTest::newRow("indoor: one level")
            << "--json --indoor --y 2.5" << Input(Given().indoor().point(5, 2.5));
        QTest::newRow("every option, = and single dash")
            << "--json --compact --screen --B=100 -D 20 --H 6 -x=20 "
               "--y 80 --hs 3 --xs=2 --K 0.5 --heights 0.5,1.25,3,4e0,12.5"
            << Input(Given()
                         .compact()
                         .storage(100, 20, 6)
                         .point(20, 80)
                         .screen(3, 2, 0.5)
                         .at({0.5, 1.25, 3, 4, 12.5}));
    }

    void json()
    {
        QFETCH(QString, arguments);
        QFETCH(Input, input);
        const Run run = runCli(arguments);
        QCOMPARE(run.exitCode, 0);
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
        QTest::newRow("indoor: one point at half the height") << "--indoor --B 20 --H 10 --x 1" << 0
            << "Beoordelingspunt 1: hoogte 5 m, 43.84 kW/m²\n" << "";
        QTest::newRow("not a number") << "--B tien" << 2 << ""
            << "warmtegloed-cli: Ongeldige waarde 'tien' voor --B: verwacht een getal met een decimale punt.\n";
        QTest::newRow("width 0") << "--B 0" << 1 << "" << "De breedte van de opslag moet groter zijn dan 0 m.\n";
        QTest::newRow("undefined flame, one line") << "--B 8.7 --D 8.7 --H 0.5" << 1 << ""
            << "Voor deze afmetingen komt de vlamhoogte uit op -0.33 m, dus op of onder 0 m. "
               "Vergroot de hoogte of de afmetingen van de opslag.\n";
        QTest::newRow("indoor width beyond reach, no null") << "--json --indoor --B 1e307" << 1 << ""
            << "Voor deze invoer is geen warmtestralingsniveau te berekenen. Controleer de ingevoerde waarden.\n";
        QTest::newRow("K below 0") << "--screen --hs 4 --xs 2 --K -5" << 2 << ""
            << "warmtegloed-cli: Ongeldige waarde '-5" + efficiency;
        QTest::newRow("terminal escape in a value") << "--x \x1b[2J" << 2 << ""
            << "warmtegloed-cli: Ongeldige waarde '\\x1b[2J' voor --x: verwacht een getal met een decimale punt.\n";
        // clang-format on
    }

    void plain()
    {
        QFETCH(QString, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const Run run = runCli(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QCOMPARE(run.out, out);
        QCOMPARE(run.err, err);
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
