// The method's published figures: the corner view factor, the outdoor pile with and
// without screen, the indoor facade, the derived quantities of the calculate command,
// the shown texts and the cases the method leaves undefined.

#include "figure.h"

#include "calculate.h"
#include "corner_view_factor.h"
#include "fire_models.h"
#include "number_text.h"

#include <QLocale>
#include <QTest>

#include <utility>

Q_DECLARE_METATYPE(engine::CalculationInput)
Q_DECLARE_METATYPE(engine::CalculationStatus)

namespace {

using Input = engine::CalculationInput;

template <typename Change>
Input with(Change change)
{
    Input input;
    change(input);
    return input;
}

double stateField(const engine::CalculationState &state, const QString &name)
{
    static const std::pair<const char *, double engine::CalculationState::*> kFields[] = {
        {"StorageWidth", &engine::CalculationState::StorageWidth},
        {"StorageDepth", &engine::CalculationState::StorageDepth},
        {"StorageHeight", &engine::CalculationState::StorageHeight},
        {"CountedFaceWidth", &engine::CalculationState::CountedFaceWidth},
        {"PointFraction", &engine::CalculationState::PointFraction},
        {"EquivalentDiameter", &engine::CalculationState::EquivalentDiameter},
        {"FlameHeight", &engine::CalculationState::FlameHeight},
        {"Transmission", &engine::CalculationState::Transmission},
    };
    for (const auto &field : kFields) {
        if (name == QLatin1String(field.first))
            return state.*field.second;
    }
    qFatal("unknown field %s", qPrintable(name));
}

// "Name=figure" entries against the state after the calculation.
void verifyFields(const engine::CalculationState &state, const QStringList &fields)
{
    for (const QString &field : fields) {
        const QString name = field.section(QLatin1Char('='), 0, 0);
        const QString figure = field.section(QLatin1Char('='), 1);
        const double value = stateField(state, name);
        QVERIFY2(matchesFigure(value, figure),
                 qPrintable(QStringLiteral("%1 = %2, expected %3").arg(name).arg(value, 0, 'g', 17).arg(figure)));
    }
}

QStringList texts(const engine::CalculationResult &result)
{
    QStringList list;
    for (const std::string &text : result.texts)
        list << QString::fromStdString(text);
    return list;
}

} // namespace

class TestEngineFigures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void cornerViewFactor_data();
    void cornerViewFactor();
    void outdoor_data();
    void outdoor();
    void indoor_data();
    void indoor();
    void calculate_data();
    void calculate();
    void numberToText_data();
    void numberToText();
    void undefinedCases_data();
    void undefinedCases();
    void neverNanInfOrNegative();
};

void TestEngineFigures::cornerViewFactor_data()
{
    QTest::addColumn<double>("d");
    QTest::addColumn<double>("h");
    QTest::addColumn<double>("w");
    QTest::addColumn<QString>("figure");
    QTest::newRow("d5 h4 w5") << 5.0 << 4.0 << 5.0 << "0.1238503";
    QTest::newRow("d5 h5 w4 (h and w swapped)") << 5.0 << 5.0 << 4.0 << "0.1238503";
    // A negative height or width subtracts the rectangle: the sign flips with each.
    QTest::newRow("d5 h-4 w5 (downwards)") << 5.0 << -4.0 << 5.0 << "-0.1238503";
    QTest::newRow("d5 h4 w-5 (to the other side)") << 5.0 << 4.0 << -5.0 << "-0.1238503";
    QTest::newRow("d5 h-4 w-5 (both)") << 5.0 << -4.0 << -5.0 << "0.1238503";
    QTest::newRow("d1 h-1 w1") << 1.0 << -1.0 << 1.0 << "-0.1385316";
    QTest::newRow("d1 h1 w1") << 1.0 << 1.0 << 1.0 << "0.1385316";
    QTest::newRow("d10 h2.5 w5") << 10.0 << 2.5 << 5.0 << "0.03309131";
    QTest::newRow("h0: edge at the point's height") << 5.0 << 0.0 << 5.0 << "2.0e-10";
    QTest::newRow("w0: point in line with a side") << 5.0 << 4.0 << 0.0 << "3.7e-9";
}

void TestEngineFigures::cornerViewFactor()
{
    QFETCH(double, d);
    QFETCH(double, h);
    QFETCH(double, w);
    QFETCH(QString, figure);
    const double value = engine::CornerViewFactor(d, h, w);
    QVERIFY2(matchesFigure(value, figure), qPrintable(QString::number(value, 'g', 17)));
}

void TestEngineFigures::outdoor_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("raw");
    QTest::addColumn<QList<int>>("shieldedStrips");
    QTest::addColumn<QStringList>("fields");

    const QStringList unscreened{"38.14", "44.17", "44.76", "41.72", "36.73"};
    QTest::newRow("defaults") << Input() << unscreened
                              << QStringList{"38138.07", "44172.95", "44760.84", "41723.61", "36734.63"}
                              << QList<int>() << QStringList{"Transmission=0.9343648"};
    QTest::newRow("compact") << with([](Input &in) { in.compact = true; })
                             << QStringList{"21.7", "24.4", "22.77", "17.26", "9.91"} << QStringList()
                             << QList<int>() << QStringList{"FlameHeight=12.000015"};
    QTest::newRow("screen hs 4 xs 2 K 1")
        << with([](Input &in) { in.screen = true; in.hs = 4; in.xs = 2; })
        << QStringList{"11.73", "33.13", "43.07", "41.72", "36.73"} << QStringList()
        << QList<int>{83, 56, 28, 0, 0} << QStringList();
    QTest::newRow("screen K 0 shields nothing")
        << with([](Input &in) { in.screen = true; in.hs = 4; in.xs = 2; in.K = 0; })
        << unscreened << QStringList() << QList<int>() << QStringList();
    QTest::newRow("screen hs 0 beyond the points (xs 8)")
        << with([](Input &in) { in.screen = true; in.xs = 8; })
        << QStringList{"6.31", "1.02", "0.15", "0", "0"} << QStringList()
        << QList<int>{111, 222, 333, 400, 400} << QStringList();
    // Without a screen its left-over inputs shield nothing.
    QTest::newRow("no screen, xs 8 K 1") << with([](Input &in) { in.xs = 8; }) << unscreened
                                         << QStringList() << QList<int>() << QStringList();
    QTest::newRow("point next to the face (x 0.01)") << with([](Input &in) { in.x = 0.01; })
        << QStringList{"78.58", "78.58", "78.58", "68.42", "57.2"} << QStringList()
        << QList<int>() << QStringList{"Transmission=1"};
}

void TestEngineFigures::outdoor()
{
    QFETCH(Input, input);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, raw);
    QFETCH(QList<int>, shieldedStrips);
    QFETCH(QStringList, fields);

    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state);
    QVERIFY2(result.ok(), result.message.c_str());
    QCOMPARE(texts(result), shown);
    for (int i = 0; i < raw.size(); ++i)
        QVERIFY2(matchesFigure(result.levels[i], raw[i]), qPrintable(QString::number(result.levels[i], 'g', 17)));
    verifyFields(state, fields);

    // The level of point i is the strips' total less the k lowest strips, exactly.
    for (int i = 0; i < shieldedStrips.size(); ++i) {
        engine::CalculationState point = state;
        const double level = engine::CalcOutdoorLevel(point, input.heights[i], input.compact, input.screen);
        double total = 0;
        double shielded = 0;
        for (int j = 1; j <= point.StripCount; ++j)
            total = total + point.StripFlux[j];
        for (int m = 1; m <= shieldedStrips[i]; ++m)
            shielded = shielded + point.StripFlux[m];
        const double expected = (total - point.ScreenEfficiency * shielded) * point.Transmission;
        QCOMPARE(bitsOf(level), bitsOf(expected));
    }
}

void TestEngineFigures::indoor_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("shown");
    auto indoor = [](double B, double H, double x, double y) {
        return with([=](Input &in) { in.indoor = true; in.B = B; in.H = H; in.x = x; in.y = y; });
    };
    QTest::newRow("defaults, middle of the facade") << indoor(10, 8, 5, 5) << "22293.08" << "22.29";
    QTest::newRow("in line with a side (y 0)") << indoor(10, 8, 5, 0) << "13361.27" << "13.36";
    QTest::newRow("quarter (y 2.5)") << indoor(10, 8, 5, 2.5) << "20019.36" << "20.02";
    QTest::newRow("5 m beyond the far side (y 15)") << indoor(10, 8, 5, 15) << "2666.03" << "2.67";
    QTest::newRow("wide and close") << indoor(20, 10, 1, 5) << "43837.23" << "43.84";
}

void TestEngineFigures::indoor()
{
    QFETCH(Input, input);
    QFETCH(QString, raw);
    QFETCH(QString, shown);
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state);
    QVERIFY2(result.ok(), result.message.c_str());
    QCOMPARE(texts(result), QStringList{shown});
    QVERIFY2(matchesFigure(result.levels[0], raw), qPrintable(QString::number(result.levels[0], 'g', 17)));
    QCOMPARE(bitsOf(engine::CalcIndoorLevel(state)), bitsOf(result.levels[0]));
    QVERIFY(result.firstHeightWritten);
    QCOMPARE(bitsOf(result.firstHeight), bitsOf(0.5 * state.StorageHeight));
}

void TestEngineFigures::calculate_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("defaults")
        << Input()
        << QStringList{"CountedFaceWidth=45.000025", "StorageWidth=10.000001", "PointFraction=0.5000000",
                       "EquivalentDiameter=11.28379", "FlameHeight=24.00003"}
        << QStringList{"38.14", "44.17", "44.76", "41.72", "36.73"};
    QTest::newRow("indoor: not mirrored, width not limited")
        << with([](Input &in) { in.indoor = true; })
        << QStringList{"StorageWidth=10.000001", "PointFraction=0.5000001", "StorageHeight=8.00001"}
        << QStringList{"22.29"};
    QTest::newRow("small pile, point in line with a side")
        << with([](Input &in) { in.B = 5; in.D = 5; in.H = 3; })
        << QStringList{"PointFraction=0", "EquivalentDiameter=5.641898", "FlameHeight=9.919278"}
        << QStringList{"15.23", "14.58", "10.77", "6.23", "2.89"};
    QTest::newRow("long face limited to the counted width")
        << with([](Input &in) { in.B = 100; in.D = 20; in.H = 6; in.x = 20; in.y = 80; })
        << QStringList{"CountedFaceWidth=40.000025", "StorageWidth=40.000025", "PointFraction=0.4999997",
                       "EquivalentDiameter=31.9154", "FlameHeight=18.00003"}
        << QStringList{"14.92", "15.69", "15.86", "15.42", "14.44"};
    QTest::newRow("low pile keeps the minimum width")
        << with([](Input &in) { in.B = 50; in.D = 10; in.H = 2; in.x = 10; in.y = 10; })
        << QStringList{"CountedFaceWidth=35", "StorageWidth=35", "PointFraction=0.2857143",
                       "FlameHeight=6.00003"}
        << QStringList{"12.95", "11.79", "9.25", "6.56", "4.41"};
    QTest::newRow("low pile, point beyond half the counted width")
        << with([](Input &in) { in.B = 50; in.D = 10; in.H = 2; in.x = 10; in.y = 30; })
        << QStringList{"StorageWidth=35", "PointFraction=0.5"}
        << QStringList{"13.63", "12.43", "9.8", "6.99", "4.73"};
}

void TestEngineFigures::calculate()
{
    QFETCH(Input, input);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, shown);
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state);
    QVERIFY2(result.ok(), result.message.c_str());
    QCOMPARE(texts(result), shown);
    verifyFields(state, fields);
    QCOMPARE(result.firstHeightWritten, input.indoor);
}

void TestEngineFigures::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    const QChar point = QLocale::c().decimalPoint().at(0);
    const QChar comma = QLocale(QLocale::Dutch, QLocale::Netherlands).decimalPoint().at(0);
    QTest::newRow("half to even, down") << 0.125 << point << "0.12";
    QTest::newRow("half to even, up") << 0.375 << point << "0.38";
    QTest::newRow("trailing zero dropped") << 24.40 << point << "24.4";
    QTest::newRow("whole number") << 18.0 << point << "18";
    QTest::newRow("decimal comma") << 24.40 << comma << "24,4";
    QTest::newRow("comma, two decimals") << 44.1729 << comma << "44,17";
    QTest::newRow("no group separator") << 1234567.891 << comma << "1234567,89";
    QTest::newRow("minus kept") << -1.5 << point << "-1.5";
    QTest::newRow("small negative is 0, not -0") << -0.004 << point << "0";
    QTest::newRow("negative zero") << -0.0 << comma << "0";
}

void TestEngineFigures::numberToText()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(engine::numberToText(value, separator.toLatin1())), text);
}

void TestEngineFigures::undefinedCases_data()
{
    QTest::addColumn<Input>("input");
    QTest::addColumn<engine::CalculationStatus>("status");
    QTest::addColumn<QString>("inMessage");
    using S = engine::CalculationStatus;
    QTest::newRow("width 0") << with([](Input &in) { in.B = 0; }) << S::WidthNotPositive << "breedte";
    QTest::newRow("width 0, indoor") << with([](Input &in) { in.B = 0; in.indoor = true; })
                                     << S::WidthNotPositive << "breedte";
    QTest::newRow("negative width") << with([](Input &in) { in.B = -3; }) << S::WidthNotPositive << "breedte";
    QTest::newRow("flame height below 0") << with([](Input &in) { in.B = 8.7; in.D = 8.7; in.H = 0.5; })
                                          << S::FlameHeightNotPositive << "-0.33 m";
    QTest::newRow("screen more than fully efficient")
        << with([](Input &in) { in.screen = true; in.hs = 4; in.xs = 2; in.K = 2; })
        << S::NegativeLevel << "negatief";
    QTest::newRow("negative distance") << with([](Input &in) { in.x = -1; }) << S::NotFinite << "geen";
}

void TestEngineFigures::undefinedCases()
{
    QFETCH(Input, input);
    QFETCH(engine::CalculationStatus, status);
    QFETCH(QString, inMessage);
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state);
    QCOMPARE(result.status, status);
    QVERIFY2(QString::fromStdString(result.message).contains(inMessage), result.message.c_str());
    QVERIFY(result.levels.empty());
    QVERIFY(result.texts.empty());
}

void TestEngineFigures::neverNanInfOrNegative()
{
    // Awkward corners of the input space: whatever comes out, it is a level that can
    // be shown or an explained refusal, never "nan", "inf" or a negative level.
    int refused = 0;
    int shown = 0;
    for (double B : {0.0, 0.001, 10.0, 1000.0})
        for (double D : {0.0, 10.0})
            for (double H : {0.0, 0.5, 8.0, 100.0})
                for (double x : {0.0, 0.01, 5.0, 500.0})
                    for (double y : {-5.0, 0.0, 5.0, 2000.0})
                        for (int variant = 0; variant < 3; ++variant) {
                            Input input;
                            input.B = B, input.D = D, input.H = H, input.x = x, input.y = y;
                            input.indoor = variant == 1;
                            input.screen = variant == 2, input.hs = 4, input.xs = 2;
                            engine::CalculationState state;
                            const engine::CalculationResult result = engine::Calculate(input, state);
                            if (!result.ok()) {
                                ++refused;
                                QVERIFY(!result.message.empty() && result.texts.empty());
                                continue;
                            }
                            ++shown;
                            for (const std::string &text : result.texts)
                                QVERIFY2(text.find_first_of("-ni") == std::string::npos, text.c_str());
                        }
    QVERIFY(refused > 0 && shown > 0);
}

QTEST_GUILESS_MAIN(TestEngineFigures)
#include "tst_engine_figures.moc"
