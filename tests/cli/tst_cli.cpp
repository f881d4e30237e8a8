// warmtegloed-cli as a separate process: the JSON against the engine's own numbers, the
// plain lines, and the exit codes and Dutch messages for bad and undefined input.

#include "calculate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTest>

#include <cstdint>
#include <cstring>

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

using Input = engine::CalculationInput;

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &arguments)
{
    QProcess process;
    // A Dutch user's locale must not turn the decimal point into a comma.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("nl_NL.UTF-8"));
    environment.insert(QStringLiteral("LANG"), QStringLiteral("nl_NL.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(WARMTEGLOED_CLI), arguments);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

std::uint64_t bitsOf(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

template <typename Change>
Input with(Change change)
{
    Input input;
    change(input);
    return input;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void json_data();
    void json();
    void plain_data();
    void plain();
    void badInput_data();
    void badInput();
    void undefined_data();
    void undefined();
    void help();
};

void TestCli::json_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Input>("input");
    QTest::newRow("defaults") << QStringList() << Input();
    QTest::newRow("compact") << QStringList{"--compact"} << with([](Input &in) { in.compact = true; });
    QTest::newRow("screen") << QStringList{"--screen", "--hs", "4", "--xs", "2", "--K", "1"}
                            << with([](Input &in) { in.screen = true; in.hs = 4; in.xs = 2; });
    QTest::newRow("screen values without --screen") << QStringList{"--hs", "4", "--xs", "2"}
                                                    << with([](Input &in) { in.hs = 4; in.xs = 2; });
    QTest::newRow("indoor") << QStringList{"--indoor", "--y", "2.5"}
                            << with([](Input &in) { in.indoor = true; in.y = 2.5; });
    QTest::newRow("every number, = and single dash")
        << QStringList{"--B=100", "-D", "20", "--H", "6", "-x=20", "--y", "80", "--K", "0.5",
                       "--heights", "0.5,1.25,3,4e0,12.5"}
        << with([](Input &in) {
               in.B = 100, in.D = 20, in.H = 6, in.x = 20, in.y = 80, in.K = 0.5;
               in.heights = {0.5, 1.25, 3, 4, 12.5};
           });
}

void TestCli::json()
{
    QFETCH(QStringList, arguments);
    QFETCH(Input, input);
    const Run run = runCli(arguments << QStringLiteral("--json"));
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state);
    const std::pair<const char *, double> fields[] = {
        {"StorageWidth", state.StorageWidth}, {"StorageDepth", state.StorageDepth},
        {"StorageHeight", state.StorageHeight}, {"PointDistance", state.PointDistance},
        {"ScreenDistance", state.ScreenDistance}, {"ScreenEfficiency", state.ScreenEfficiency},
        {"ScreenHeight", state.ScreenHeight}, {"CountedFaceWidth", state.CountedFaceWidth},
        {"PointFraction", state.PointFraction}, {"EquivalentDiameter", state.EquivalentDiameter},
        {"FlameHeight", state.FlameHeight}, {"Transmission", state.Transmission},
    };
    for (const auto &field : fields) {
        QVERIFY2(json.value(QLatin1String(field.first)).isDouble(), field.first);
        QCOMPARE(bitsOf(json.value(QLatin1String(field.first)).toDouble()), bitsOf(field.second));
    }
    // The raw levels survive the trip through the text unchanged.
    const QJsonArray levels = json.value(QStringLiteral("levels")).toArray();
    const QJsonArray texts = json.value(QStringLiteral("texts")).toArray();
    QCOMPARE(std::size_t(levels.size()), input.indoor ? 1u : 5u);
    QCOMPARE(std::size_t(levels.size()), result.levels.size());
    QCOMPARE(std::size_t(texts.size()), result.texts.size());
    for (int i = 0; i < levels.size(); ++i) {
        QCOMPARE(bitsOf(levels[i].toDouble()), bitsOf(result.levels[std::size_t(i)]));
        QCOMPARE(texts[i].toString(), QString::fromStdString(result.texts[std::size_t(i)]));
    }
}

void TestCli::plain_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::newRow("defaults") << QStringList()
                              << "Beoordelingspunt 1: hoogte 2.5 m, 38.14 kW/m²\n"
                                 "Beoordelingspunt 2: hoogte 5 m, 44.17 kW/m²\n"
                                 "Beoordelingspunt 3: hoogte 7.5 m, 44.76 kW/m²\n"
                                 "Beoordelingspunt 4: hoogte 10 m, 41.72 kW/m²\n"
                                 "Beoordelingspunt 5: hoogte 12.5 m, 36.73 kW/m²\n";
    QTest::newRow("compact, own heights") << QStringList{"--compact", "--heights", "12.5,10,7.5,5,2.5"}
                                          << "Beoordelingspunt 1: hoogte 12.5 m, 9.91 kW/m²\n"
                                             "Beoordelingspunt 2: hoogte 10 m, 17.26 kW/m²\n"
                                             "Beoordelingspunt 3: hoogte 7.5 m, 22.77 kW/m²\n"
                                             "Beoordelingspunt 4: hoogte 5 m, 24.4 kW/m²\n"
                                             "Beoordelingspunt 5: hoogte 2.5 m, 21.7 kW/m²\n";
    QTest::newRow("indoor: one point at half the height")
        << QStringList{"--indoor", "--B", "20", "--H", "10", "--x", "1"}
        << "Beoordelingspunt 1: hoogte 5 m, 43.84 kW/m²\n";
}

void TestCli::plain()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), output);
    QVERIFY(run.err.isEmpty());
}

void TestCli::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("option");
    QTest::newRow("not a number") << QStringList{"--B", "tien"} << "--B";
    QTest::newRow("decimal comma") << QStringList{"--x", "2,5"} << "--x";
    QTest::newRow("empty value") << QStringList{"--hs="} << "--hs";
    QTest::newRow("infinite") << QStringList{"--K", "inf"} << "--K";
    QTest::newRow("missing value") << QStringList{"--compact", "--D"} << "--D";
    QTest::newRow("option taken as value") << QStringList{"--H", "--json"} << "--H";
    QTest::newRow("four heights") << QStringList{"--heights", "1,2,3,4"} << "--heights";
    QTest::newRow("six heights") << QStringList{"--heights", "1,2,3,4,5,6"} << "--heights";
    QTest::newRow("height not a number") << QStringList{"--heights", "1,2,drie,4,5"} << "--heights";
    QTest::newRow("unknown option") << QStringList{"--width", "10"} << "--width";
    QTest::newRow("value for a switch") << QStringList{"--indoor=1"} << "--indoor";
    QTest::newRow("stray argument") << QStringList{"--B", "10", "12"} << "12";
}

void TestCli::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, option);
    // --json first, so that a value-less option can come last.
    const Run run = runCli(QStringList{QStringLiteral("--json")} + arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    const QString message = QString::fromUtf8(run.err);
    QVERIFY2(message.endsWith(QLatin1Char('\n')) && message.count(QLatin1Char('\n')) == 1, qPrintable(message));
    QVERIFY2(message.contains(option), qPrintable(message));
    // Qt's own parser messages are English unless the program translates them.
    for (const char *english : {"Unknown", "Missing", "Unexpected", "value"})
        QVERIFY2(!message.contains(QLatin1String(english)), qPrintable(message));
}

void TestCli::undefined_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Input>("input");
    QTest::newRow("width 0") << QStringList{"--B", "0"} << with([](Input &in) { in.B = 0; });
    QTest::newRow("flame height below 0") << QStringList{"--B", "8.7", "--D", "8.7", "--H", "0.5"}
                                          << with([](Input &in) { in.B = 8.7, in.D = 8.7, in.H = 0.5; });
}

void TestCli::undefined()
{
    QFETCH(QStringList, arguments);
    QFETCH(Input, input);
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state, '.');
    QVERIFY(!result.ok());
    const Run run = runCli(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(QString::fromUtf8(run.err), QString::fromStdString(result.message) + QLatin1Char('\n'));
}

void TestCli::help()
{
    const Run run = runCli({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    const QString text = QString::fromUtf8(run.out);
    QVERIFY(text.startsWith(QLatin1String("Gebruik: warmtegloed-cli")));
    for (const char *option : {"--B ", "--D ", "--H ", "--x ", "--y ", "--hs ", "--xs ", "--K ",
                               "--heights ", "--indoor ", "--compact ", "--screen ", "--json "})
        QVERIFY2(text.contains(QLatin1String(option)), option);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
