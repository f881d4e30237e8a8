// The method's published figures, the vectorised outdoor model against the straightforward
// scalar one, the shown texts and the cases the method leaves undefined.

#include "calculate.h"
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

// shown: the texts, or part of a refusal's message; figures: "Name=figure" of the state and result.
struct Row
{
    Input input;
    QString shown, figures;
    QList<int> shieldedStrips;
    Status status = Status::Ok;
};

// The value written like the figure ("38138.07", "3.7e-09"): equal when it rounds to it.
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

// "B=5 D=5 screen hs=4 z=0,1,2,3,4": the window's inputs that differ from its defaults.
Input inputOf(const QString &text)
{
    Input in;
    const QHash<QString, double *> numbers {{"B", &in.B}, {"D", &in.D},   {"H", &in.H},   {"x", &in.x},
                                            {"y", &in.y}, {"hs", &in.hs}, {"xs", &in.xs}, {"K", &in.K}};
    for (const QString &word : text.split(' ', Qt::SkipEmptyParts)) {
        const QString name = word.section('=', 0, 0), value = word.section('=', 1);
        for (int i = 0; name == "z" && i < 5; ++i)
            in.heights[i] = value.section(',', i, i).toDouble();
        in.indoor |= word == "indoor", in.compact |= word == "compact", in.screen |= word == "screen";
        if (numbers.contains(name))
            *numbers.value(name) = value.toDouble();
    }
    return in;
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

void row(const char *name, const QString &input, const char *shown, const char *figures = "",
         QList<int> k = {}, Status status = Status::Ok)
{
    QTest::newRow(name) << Row {inputOf(input), shown, figures, k, status};
}

} // namespace

Q_DECLARE_METATYPE(Row)

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void cornerViewFactor_data()
    {
        QTest::addColumn<QList<double>>("dhw");
        QTest::addColumn<QString>("figure");
        QTest::newRow("d5 h4 w5") << QList<double> {5, 4, 5} << "0.1238503";
        // A negative height or width subtracts the rectangle: the sign flips with each.
        QTest::newRow("downwards") << QList<double> {5, -4, 5} << "-0.1238503";
        QTest::newRow("to the other side") << QList<double> {5, 4, -5} << "-0.1238503";
        QTest::newRow("d1 h1 w1") << QList<double> {1, 1, 1} << "0.1385316";
        QTest::newRow("d10 h2.5 w5") << QList<double> {10, 2.5, 5} << "0.03309131";
        QTest::newRow("h0: edge at the point's height") << QList<double> {5, 0, 5} << "2.0e-10";
        QTest::newRow("w0: point in line with a side") << QList<double> {5, 4, 0} << "3.7e-09";
    }

    void cornerViewFactor()
    {
        QFETCH(QList<double>, dhw);
        QFETCH(QString, figure);
        QCOMPARE(asFigure(engine::CornerViewFactor(dhw[0], dhw[1], dhw[2]), figure), figure);
    }

    void calculate_data()
    {
        QTest::addColumn<Row>("row");
        const char *unscreened = "38.14 44.17 44.76 41.72 36.73";
        row("defaults", "", unscreened,
            "CountedFaceWidth=45.000025 StorageWidth=10.000001 PointFraction=0.5000000 "
            "EquivalentDiameter=11.28379 FlameHeight=24.00003 Transmission=0.9343648 level1=38138.07 "
            "level5=36734.63");
        row("compact", "compact", "21.7 24.4 22.77 17.26 9.91", "FlameHeight=12.000015");
        row("screen hs 4 xs 2 K 1", "screen hs=4 xs=2", "11.73 33.13 43.07 41.72 36.73", "",
            {83, 56, 28, 0, 0});
        row("screen K 0 shields nothing", "screen hs=4 xs=2 K=0", unscreened);
        row("screen hs 0 beyond the points", "screen xs=8", "6.31 1.02 0.15 0 0", "",
            {111, 222, 333, 400, 400});
        row("no screen: xs 8 shields nothing", "xs=8", unscreened);
        row("next to the face (x 0.01)", "x=0.01", "78.58 78.58 78.58 68.42 57.2", "Transmission=1");
        row("indoor", "indoor", "22.29",
            "StorageWidth=10.000001 PointFraction=0.5000001 StorageHeight=8.00001 "
            "firstHeight=4.000005 level1=22293.08");
        row("indoor, in line with a side", "indoor y=0", "13.36");
        row("indoor, quarter", "indoor y=2.5", "20.02");
        row("indoor, beyond the far side", "indoor y=15", "2.67");
        row("indoor, wide and close", "indoor B=20 H=10 x=1 y=5", "43.84", "firstHeight=5.000005");
        row("small pile, in line with a side", "B=5 D=5 H=3", "15.23 14.58 10.77 6.23 2.89",
            "PointFraction=0 EquivalentDiameter=5.641898 FlameHeight=9.919278");
        row("long face limited", "B=100 D=20 H=6 x=20 y=80", "14.92 15.69 15.86 15.42 14.44",
            "CountedFaceWidth=40.000025 StorageWidth=40.000025 PointFraction=0.4999997 "
            "EquivalentDiameter=31.9154 "
            "FlameHeight=18.00003");
        row("low pile keeps the minimum width", "B=50 D=10 H=2 x=10 y=10", "12.95 11.79 9.25 6.56 4.41",
            "CountedFaceWidth=35 StorageWidth=35 PointFraction=0.2857143 FlameHeight=6.00003");
        row("low pile, beyond half the width", "B=50 D=10 H=2 x=10 y=30", "13.63 12.43 9.8 6.99 4.73",
            "StorageWidth=35 PointFraction=0.5");
        // Awkward corners: held by the straightforward form and by "no nan, inf or minus".
        row("screen half efficient", "screen hs=6 xs=1 K=0.5", "");
        row("far beyond the face", "y=2000 x=500", "");
        row("against the face", "x=0 compact", "");
        row("flame below the pile top", "B=8 D=8 H=100", "");
        row("ground, below and high up", "z=0,-1,30,60,100", "");
        State state; // heights on strip edges put a kernel at h = 0, where the 1e-9 guard works
        const double Lf = (engine::Calculate(Input(), state), state.FlameHeight);
        QStringList edges;
        for (int i : {1, 60, 133, 200, 400})
            edges << exact((i * Lf) / 400);
        row("points on strip edges", "z=" + edges.join(','), "");
        row("width 0", "B=0", "breedte", "", {}, Status::WidthNotPositive);
        row("width 0, indoor", "B=0 indoor", "breedte", "", {}, Status::WidthNotPositive);
        row("flame height below 0", "B=8.7 D=8.7 H=0.5", "-0.33 m", "", {}, Status::FlameHeightNotPositive);
        row("screen more than efficient", "screen hs=4 xs=2 K=2", "negatief", "", {}, Status::NegativeLevel);
        row("negative distance", "x=-1", "geen", "", {}, Status::NotFinite);
    }

    void calculate()
    {
        QFETCH(Row, row);
        const Input &input = row.input;
        State state;
        const engine::CalculationResult result = engine::Calculate(input, state);
        QCOMPARE(result.status, row.status);
        QStringList texts;
        for (const std::string &text : result.texts)
            texts << QString::fromStdString(text);
        if (!result.ok()) {
            QVERIFY2(QString::fromStdString(result.message).contains(row.shown), result.message.c_str());
            QVERIFY(result.levels.empty() && texts.empty());
            return;
        }
        QVERIFY2(!texts.join(' ').contains(QRegularExpression("[-ni]"))
                     && texts.size() == (input.indoor ? 1 : 5),
                 qPrintable(texts.join(' ')));
        if (!row.shown.isEmpty())
            QCOMPARE(texts, row.shown.split(' '));
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
        for (const QString &figure : row.figures.split(' ', Qt::SkipEmptyParts)) {
            const QString name = figure.section('=', 0, 0);
            QCOMPARE(name + '=' + asFigure(values.value(name, qQNaN()), figure.section('=', 1)), figure);
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
            QCOMPARE(k, row.shieldedStrips.value(i, k));
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
        QTest::addColumn<QString>("text");
        QTest::newRow("half to even, down") << 0.125 << "0.12";
        QTest::newRow("half to even, up") << 0.375 << "0.38";
        QTest::newRow("trailing zero dropped") << 24.40 << "24.4";
        QTest::newRow("whole number") << 18.0 << "18";
        QTest::newRow("decimal comma") << 44.1729 << "44,17";
        QTest::newRow("no group separator") << 1234567.891 << "1234567,89";
        QTest::newRow("minus kept") << -1.5 << "-1.5";
        QTest::newRow("small negative is 0, not -0") << -0.004 << "0";
        QTest::newRow("below one") << 0.05 << "0.05";
        QTest::newRow("large, formatted") << 2.5e13 << "25000000000000";
    }

    void numberToText()
    {
        QFETCH(double, value);
        QFETCH(QString, text); // with the separator it shows
        QCOMPARE(QString::fromStdString(engine::numberToText(value, text.contains(',') ? ',' : '.')), text);
    }
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
