// The method's published figures, the vectorised outdoor model against the straightforward
// scalar one, the shown texts and the cases the method leaves undefined.

#include "calculate.h"
#include "given_input.h"
#include "corner_view_factor.h"
#include "fire_models.h"
#include "number_text.h"
#include "scalar_reference.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <random>

namespace {

using Input = engine::CalculationInput;
using State = engine::CalculationState;
using Status = engine::CalculationStatus;

// A figure as published, compared at the precision it is written with ("38138.07", "3.7e-09").
struct Figure
{
    const char *name;
    QString written;
};

QString asFigure(double value, const QString &figure)
{
    const int decimals = int(figure.section('e', 0, 0).section('.', 1).size());
    return QString::number(value, figure.contains('e') ? 'e' : 'f', decimals);
}

// Identity of results means identity of the bits; 17 digits tell every double apart.
QString exact(double value)
{
    return QString::number(value, 'g', 17);
}

// Agreement of the vectorised engine with the straightforward form: to 1e-12 of the level,
// or, where the level is a small difference of large view factors, to 1e-14 of their size.
bool agrees(double value, double expected, double scale)
{
    return std::abs(value - expected) <= std::max(1e-12 * std::abs(expected), 1e-14 * scale);
}

// The strips of the last point, each to 1e-14 of the four corner view factors it is made of.
bool stripsAgree(const State &state, const State &reference, double z)
{
    const double x = reference.PointDistance, Lf = reference.FlameHeight;
    const double w1 = reference.PointFraction * reference.StorageWidth;
    const double w2 = (1 - reference.PointFraction) * reference.StorageWidth;
    for (int i = 1; i <= 400; ++i) {
        const double lo = z - ((i - 1) * Lf) / 400, hi = z - (i * Lf) / 400;
        const double size = std::abs(reference::cornerViewFactor(x, lo, w1))
            + std::abs(reference::cornerViewFactor(x, lo, w2))
            + std::abs(reference::cornerViewFactor(x, hi, w1))
            + std::abs(reference::cornerViewFactor(x, hi, w2));
        const double fourth = std::pow(reference.StripTemperature[i], 4);
        if (std::abs(state.StripViewFactor[i] - reference.StripViewFactor[i]) > 1e-14 * size
            || std::abs(state.StripFlux[i] - reference.StripFlux[i]) > 1e-14 * 5.67e-8 * size * fourth)
            return false;
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Figure)
Q_DECLARE_METATYPE(Status)

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void cornerViewFactor_data()
    {
        QTest::addColumn<double>("d");
        QTest::addColumn<double>("h");
        QTest::addColumn<double>("w");
        QTest::addColumn<QString>("figure");
        QTest::newRow("d5 h4 w5") << 5.0 << 4.0 << 5.0 << "0.1238503";
        // A negative height or width subtracts the rectangle: the sign flips with each.
        QTest::newRow("downwards") << 5.0 << -4.0 << 5.0 << "-0.1238503";
        QTest::newRow("to the other side") << 5.0 << 4.0 << -5.0 << "-0.1238503";
        QTest::newRow("d10 h2.5 w5") << 10.0 << 2.5 << 5.0 << "0.03309131";
        QTest::newRow("h0: edge at the point's height") << 5.0 << 0.0 << 5.0 << "2.0e-10";
        QTest::newRow("w0: point in line with a side") << 5.0 << 4.0 << 0.0 << "3.7e-09";
    }

    void cornerViewFactor()
    {
        QFETCH(double, d);
        QFETCH(double, h);
        QFETCH(double, w);
        QFETCH(QString, figure);
        QCOMPARE(asFigure(engine::CornerViewFactor(d, h, w), figure), figure);
    }

    // shown: the texts; empty for awkward corners, held by the straightforward form and by
    // "no nan, inf or minus". figures: of the state and the result, in W/m².
    void calculate_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<Figure>>("figures");
        QTest::addColumn<QList<int>>("shieldedStrips");
        const QStringList unscreened {"38.14", "44.17", "44.76", "41.72", "36.73"};
        using Figures = QList<Figure>;
        using Strips = QList<int>;
        const QStringList anyText;
        const Figures none;
        const Strips noStrips;
        // clang-format off
        QTest::newRow("defaults") << Input(Given()) << unscreened
            << Figures {{"CountedFaceWidth", "45.000025"}, {"StorageWidth", "10.000001"},
                        {"PointFraction", "0.5000000"}, {"EquivalentDiameter", "11.28379"}, {"FlameHeight", "24.00003"},
                        {"Transmission", "0.9343648"}, {"level1", "38138.07"}, {"level5", "36734.63"}} << noStrips;
        QTest::newRow("compact") << Input(Given().compact()) << QStringList {"21.7", "24.4", "22.77", "17.26", "9.91"}
            << Figures {{"FlameHeight", "12.000015"}} << noStrips;
        QTest::newRow("screen hs 4 xs 2 K 1") << Input(Given().screen(4, 2, 1))
            << QStringList {"11.73", "33.13", "43.07", "41.72", "36.73"} << none << Strips {83, 56, 28, 0, 0};
        QTest::newRow("screen hs 0 beyond the points") << Input(Given().screen(0, 8, 1))
            << QStringList {"6.31", "1.02", "0.15", "0", "0"} << none << Strips {111, 222, 333, 400, 400};
        QTest::newRow("no screen: xs 8 shields nothing") << Input(Given().screen(0, 8, 1, false)) << unscreened
            << none << noStrips;
        QTest::newRow("next to the face (x 0.01)") << Input(Given().point(0.01, 5))
            << QStringList {"78.58", "78.58", "78.58", "68.42", "57.2"} << Figures {{"Transmission", "1"}} << noStrips;
        QTest::newRow("indoor") << Input(Given().indoor()) << QStringList {"22.29"}
            << Figures {{"StorageWidth", "10.000001"}, {"PointFraction", "0.5000001"}, {"StorageHeight", "8.00001"},
                        {"firstHeight", "4.000005"}, {"level1", "22293.08"}} << noStrips;
        QTest::newRow("indoor, in line with a side") << Input(Given().indoor().point(5, 0)) << QStringList {"13.36"}
            << none << noStrips;
        QTest::newRow("indoor, wide and close") << Input(Given().indoor().storage(20, 10, 10).point(1, 5))
            << QStringList {"43.84"} << Figures {{"firstHeight", "5.000005"}} << noStrips;
        QTest::newRow("small pile, in line with a side") << Input(Given().storage(5, 5, 3))
            << QStringList {"15.23", "14.58", "10.77", "6.23", "2.89"}
            << Figures {{"PointFraction", "0"}, {"EquivalentDiameter", "5.641898"}, {"FlameHeight", "9.919278"}}
            << noStrips;
        QTest::newRow("long face limited") << Input(Given().storage(100, 20, 6).point(20, 80))
            << QStringList {"14.92", "15.69", "15.86", "15.42", "14.44"}
            << Figures {{"CountedFaceWidth", "40.000025"}, {"StorageWidth", "40.000025"},
                        {"PointFraction", "0.4999997"}, {"EquivalentDiameter", "31.9154"}, {"FlameHeight", "18.00003"}}
            << noStrips;
        QTest::newRow("low pile keeps the minimum width") << Input(Given().storage(50, 10, 2).point(10, 10))
            << QStringList {"12.95", "11.79", "9.25", "6.56", "4.41"}
            << Figures {{"CountedFaceWidth", "35"}, {"StorageWidth", "35"}, {"PointFraction", "0.2857143"},
                        {"FlameHeight", "6.00003"}} << noStrips;
        QTest::newRow("low pile, beyond half the width") << Input(Given().storage(50, 10, 2).point(10, 30))
            << QStringList {"13.63", "12.43", "9.8", "6.99", "4.73"}
            << Figures {{"StorageWidth", "35"}, {"PointFraction", "0.5"}} << noStrips;
        // Awkward corners: held by the straightforward form and by "no nan, inf or minus".
        QTest::newRow("screen half efficient") << Input(Given().screen(6, 1, 0.5)) << anyText << none << noStrips;
        QTest::newRow("far beyond the face") << Input(Given().point(500, 2000)) << anyText << none << noStrips;
        QTest::newRow("against the face") << Input(Given().point(0, 5).compact()) << anyText << none << noStrips;
        QTest::newRow("flame below the pile top") << Input(Given().storage(8, 8, 100)) << QStringList() << none
            << noStrips;
        QTest::newRow("ground, below and high up") << Input(Given().at({0, -1, 30, 60, 100})) << QStringList()
            << none << noStrips;
        // clang-format on
        State state; // heights on strip edges put a kernel at h = 0, where the 1e-9 guard works
        engine::Calculate(Input(), state);
        const double Lf = state.FlameHeight;
        const std::array<double, 5> edges {Lf / 400, 60 * Lf / 400, 133 * Lf / 400, 200 * Lf / 400,
                                           400 * Lf / 400};
        QTest::newRow("points on strip edges")
            << Input(Given().at(edges)) << QStringList() << Figures() << Strips();
    }

    void calculate()
    {
        QFETCH(Input, input);
        QFETCH(QStringList, shown);
        QFETCH(QList<Figure>, figures);
        QFETCH(QList<int>, shieldedStrips);
        State state;
        const engine::CalculationResult result = engine::Calculate(input, state);
        QCOMPARE(result.status, Status::Ok);
        QStringList texts;
        for (const std::string &text : result.texts)
            texts << QString::fromStdString(text);
        QCOMPARE(texts.size(), input.indoor ? 1 : 5);
        QVERIFY2(!texts.join(' ').contains(QRegularExpression("[-ni]")), qPrintable(texts.join(' ')));
        if (!shown.isEmpty())
            QCOMPARE(texts, shown);
        QCOMPARE(result.firstHeightWritten, input.indoor);

        const QHash<QString, double> values {{"StorageWidth", state.StorageWidth},
                                             {"StorageHeight", state.StorageHeight},
                                             {"CountedFaceWidth", state.CountedFaceWidth},
                                             {"PointFraction", state.PointFraction},
                                             {"EquivalentDiameter", state.EquivalentDiameter},
                                             {"FlameHeight", state.FlameHeight},
                                             {"Transmission", state.Transmission},
                                             {"firstHeight", result.firstHeight},
                                             {"level1", result.levels.front()},
                                             {"level5", result.levels.back()}};
        for (const Figure &figure : figures) {
            QVERIFY2(values.contains(figure.name), figure.name);
            QCOMPARE(asFigure(values.value(figure.name), figure.written), figure.written);
        }
        if (input.indoor)
            return;

        // Every level and its shielded strips against the straightforward form, then the
        // last point's arrays; the texts are the straightforward form's texts.
        State reference = state;
        QCOMPARE(reference::calculate(input, reference).texts, result.texts);
        for (int i = 0; i < 5; ++i) {
            int k = 0;
            const double expected = reference::outdoorLevel(reference, input.heights[i], input, k);
            const double scale = reference::levelScale(reference, input.heights[i], input);
            QVERIFY2(agrees(result.levels[i], expected, scale),
                     qPrintable(exact(result.levels[i]) + " " + exact(expected)));
            QCOMPARE(k, shieldedStrips.value(i, k));
            State single = state;
            QCOMPARE(exact(engine::CalcOutdoorLevel(single, input.heights[i], input.compact, input.screen)),
                     exact(result.levels[i]));
        }
        QVERIFY(stripsAgree(state, reference, input.heights[4]));
        QVERIFY(state.StripTemperature == reference.StripTemperature
                && state.StripCount == reference.StripCount);
        QCOMPARE(exact(state.Transmission), exact(reference.Transmission));
        QCOMPARE(exact(state.BaseFlameTemperature), exact(reference.BaseFlameTemperature));
        QCOMPARE(exact(state.TipFlameTemperature), exact(reference.TipFlameTemperature));
    }

    // Cases the method leaves undefined: a status, a Dutch message and nothing to show.
    void undefined_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("message"); // a part of it
        // clang-format off
        QTest::newRow("width 0") << Input(Given().storage(0, 10, 8)) << Status::WidthNotPositive << "breedte";
        QTest::newRow("width 0, indoor") << Input(Given().storage(0, 10, 8).indoor()) << Status::WidthNotPositive
                                         << "breedte";
        QTest::newRow("depth 0") << Input(Given().storage(10, 0, 8)) << Status::DepthNotPositive << "diepte";
        QTest::newRow("depth below 0, indoor") << Input(Given().storage(10, -5, 8).indoor())
                                               << Status::DepthNotPositive << "diepte";
        QTest::newRow("indoor width beyond reach") << Input(Given().storage(1e307, 10, 8).indoor())
                                                   << Status::NotFinite << "geen";
        QTest::newRow("flame height below 0") << Input(Given().storage(8.7, 8.7, 0.5)) << Status::FlameHeightNotPositive
                                              << "-0.33 m";
        QTest::newRow("screen more than efficient") << Input(Given().screen(4, 2, 2)) << Status::NegativeLevel
                                                    << "negatief";
        QTest::newRow("negative distance") << Input(Given().point(-1, 5)) << Status::NotFinite << "geen";
        // clang-format on
    }

    void undefined()
    {
        QFETCH(Input, input);
        QFETCH(Status, status);
        QFETCH(QString, message);
        State state;
        const engine::CalculationResult result = engine::Calculate(input, state);
        QCOMPARE(result.status, status);
        QVERIFY2(QString::fromStdString(result.message).contains(message), result.message.c_str());
        QVERIFY(result.levels.empty());
        QVERIFY(result.texts.empty());
    }

    // The kernels square by multiplying: the same double as the power with exponent 2 over
    // the whole range of magnitudes.
    void squareIsPowerTwo()
    {
        std::mt19937_64 random(2);
        std::uniform_real_distribution<double> mantissa(1, 2);
        int different = 0;
        for (int i = 0; i < 1000000; ++i) {
            const double value = std::ldexp(mantissa(random), int(random() % 1000) - 500);
            different += value * value != std::pow(value, 2);
        }
        QCOMPARE(different, 0);
    }

    // The shown number is written digit by digit below 10^13: the same text as the
    // formatting "%.15g" of the rounded value, for values on and around the halves too.
    void numberToTextAsFormatted()
    {
        std::mt19937_64 random(3);
        std::uniform_int_distribution<long long> cents(-1000000000, 1000000000);
        int different = 0;
        for (int i = 0; i < 300000; ++i) {
            const double value = i % 3 == 0 ? std::ldexp(double(cents(random)), int(random() % 70) - 60)
                                            : (double(cents(random)) + 0.5 * (i % 3 - 1)) / 100;
            const double rounded = engine::roundHalfEven2(value);
            const QString formatted =
                QString::asprintf("%.15g", rounded == 0 ? 0.0 : rounded).replace('.', ',');
            different += QString::fromStdString(engine::numberToText(value, ',')) != formatted;
        }
        QCOMPARE(different, 0);
    }

    void numberToText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text"); // with the separator it shows
        QTest::newRow("half to even, down") << 0.125 << "0.12";
        QTest::newRow("half to even, up") << 0.375 << "0.38";
        QTest::newRow("trailing zero dropped") << 24.40 << "24.4";
        QTest::newRow("whole number") << 18.0 << "18";
        QTest::newRow("decimal comma") << 44.1729 << "44,17";
        QTest::newRow("no group separator") << 1234567.891 << "1234567,89";
        QTest::newRow("minus kept") << -1.5 << "-1.5";
        QTest::newRow("small negative is 0, not -0") << -0.004 << "0";
        QTest::newRow("15 digits still plain") << 999999999999999.0 << "999999999999999";
        QTest::newRow("rounds up to 1E+15") << 999999999999999.9 << "1E+15";
        QTest::newRow("1E+15 from on, exponent form") << 1e15 << "1E+15";
        QTest::newRow("rounding would overflow") << 1e307 << "1E+307";
        QTest::newRow("largest double") << 1.7976931348623157e308 << "1,79769313486232E+308";
        QTest::newRow("negative with comma") << -1.5e20 << "-1,5E+20";
        QTest::newRow("below one") << 0.05 << "0.05";
        QTest::newRow("large, formatted") << 2.5e13 << "25000000000000";
    }

    void numberToText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(engine::numberToText(value, text.contains(',') ? ',' : '.')), text);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
