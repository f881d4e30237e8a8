// The method's published figures, the shown texts and the cases the method leaves undefined;
// the limit check and the solvers against brute-force scans of the same calculation: each
// answer complies, one centimetre further it does not, a plain scan finds the same crossing;
// the envelope is never below the points. tst_field holds the vectorised engine.

#include "calculate.h"
#include "field.h"
#include "fire_models.h"
#include "given_input.h"
#include "limit.h"
#include "number_text.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Input = engine::CalculationInput;
using State = engine::CalculationState;
using Status = engine::CalculationStatus;
using Quantity = engine::SolveQuantity;

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

// The storage the solver judges at `value`: the width with the point in front of its middle.
Input with(Input in, Quantity quantity, double value)
{
    (quantity == Quantity::Distance ? in.x : quantity == Quantity::Height ? in.H : in.B) = value;
    if (quantity == Quantity::Width)
        in.y = value / 2;
    return in;
}

// The highest of the levels Calculate gives; NAN when it refuses the input.
double highest(const Input &in)
{
    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(in, state);
    if (!result.ok())
        return NAN;
    return *std::max_element(result.levels.begin(), result.levels.end());
}

// The highest level at each distance, from one many-points calculation.
std::vector<double> highestAlong(const Input &in, const std::vector<double> &distances)
{
    const std::size_t count = in.indoor ? 1 : 5;
    std::vector<engine::FieldPoint> points;
    for (double x : distances) {
        for (std::size_t j = 0; j < count; ++j)
            points.push_back({x, in.y, in.heights[j]});
    }
    const engine::FieldResult field = engine::CalculateField(in, points);
    std::vector<double> result;
    for (std::size_t i = 0; i < distances.size() && field.ok(); ++i)
        result.push_back(*std::max_element(field.levels.begin() + long(i * count),
                                           field.levels.begin() + long((i + 1) * count)));
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Figure)
Q_DECLARE_METATYPE(Status)
Q_DECLARE_METATYPE(Quantity)

class TestEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // shown: the texts; empty for an awkward corner, held by "no nan, inf or minus".
    // figures: of the state and the result, in W/m².
    void calculate_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<Figure>>("figures");
        using Figures = QList<Figure>;
        const Figures none;
        // clang-format off
        QTest::newRow("defaults") << Input(Given()) << QStringList {"38.14", "44.17", "44.76", "41.72", "36.73"}
            << Figures {{"CountedFaceWidth", "45.000025"}, {"StorageWidth", "10.000001"},
                        {"PointFraction", "0.5000000"}, {"EquivalentDiameter", "11.28379"}, {"FlameHeight", "24.00003"},
                        {"Transmission", "0.9343648"}, {"level1", "38138.07"}, {"level5", "36734.63"}};
        QTest::newRow("compact") << Input(Given().compact()) << QStringList {"21.7", "24.4", "22.77", "17.26", "9.91"}
            << Figures {{"FlameHeight", "12.000015"}};
        QTest::newRow("screen hs 4 xs 2 K 1") << Input(Given().screen(4, 2, 1))
            << QStringList {"11.73", "33.13", "43.07", "41.72", "36.73"} << none;
        QTest::newRow("next to the face (x 0.01)") << Input(Given().point(0.01, 5))
            << QStringList {"78.58", "78.58", "78.58", "68.42", "57.2"} << Figures {{"Transmission", "1"}};
        QTest::newRow("indoor") << Input(Given().indoor()) << QStringList {"22.29"}
            << Figures {{"StorageWidth", "10.000001"}, {"PointFraction", "0.5000001"}, {"StorageHeight", "8.00001"},
                        {"firstHeight", "4.000005"}, {"level1", "22293.08"}};
        QTest::newRow("small pile, in line with a side") << Input(Given().storage(5, 5, 3))
            << QStringList {"15.23", "14.58", "10.77", "6.23", "2.89"}
            << Figures {{"PointFraction", "0"}, {"EquivalentDiameter", "5.641898"}, {"FlameHeight", "9.919278"}};
        QTest::newRow("long face limited") << Input(Given().storage(100, 20, 6).point(20, 80))
            << QStringList {"14.92", "15.69", "15.86", "15.42", "14.44"}
            << Figures {{"CountedFaceWidth", "40.000025"}, {"StorageWidth", "40.000025"},
                        {"PointFraction", "0.4999997"}, {"EquivalentDiameter", "31.9154"}, {"FlameHeight", "18.00003"}};
        QTest::newRow("low pile keeps the minimum width") << Input(Given().storage(50, 10, 2).point(10, 10))
            << QStringList {"12.95", "11.79", "9.25", "6.56", "4.41"}
            << Figures {{"CountedFaceWidth", "35"}, {"StorageWidth", "35"}, {"PointFraction", "0.2857143"},
                        {"FlameHeight", "6.00003"}};
        // Awkward corners: held by "no nan, inf or minus".
        QTest::newRow("ground, below and high up") << Input(Given().at({0, -1, 30, 60, 100})) << QStringList() << none;
        // clang-format on
    }

    void calculate()
    {
        QFETCH(Input, input);
        QFETCH(QStringList, shown);
        QFETCH(QList<Figure>, figures);
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
    }

    // Cases the method leaves undefined: a status, a Dutch message and nothing to show.
    void undefined_data()
    {
        QTest::addColumn<Input>("input");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QString>("message"); // a part of it
        // clang-format off
        QTest::newRow("width 0") << Input(Given().storage(0, 10, 8)) << Status::WidthNotPositive << "breedte";
        QTest::newRow("depth below 0, indoor") << Input(Given().storage(10, -5, 8).indoor())
                                               << Status::DepthNotPositive << "diepte";
        QTest::newRow("indoor width beyond reach") << Input(Given().storage(1e307, 10, 8).indoor())
                                                   << Status::NotFinite << "geen";
        QTest::newRow("flame height below 0") << Input(Given().storage(8.7, 8.7, 0.5)) << Status::FlameHeightNotPositive
                                              << "-0.33 m";
        QTest::newRow("screen more than efficient") << Input(Given().screen(4, 2, 2)) << Status::NegativeLevel
                                                    << "negatief";
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

    void numberToText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text"); // with the separator it shows
        QTest::newRow("half to even, down") << 0.125 << "0.12";
        QTest::newRow("no group separator") << 1234567.891 << "1234567,89";
        QTest::newRow("small negative is 0, not -0") << -0.004 << "0";
        QTest::newRow("15 digits still plain") << 999999999999999.0 << "999999999999999";
        QTest::newRow("rounds up to 1E+15") << 999999999999999.9 << "1E+15";
        QTest::newRow("rounding would overflow") << 1e307 << "1E+307";
        QTest::newRow("negative with comma") << -1.5e20 << "-1,5E+20";
    }

    void numberToText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(engine::numberToText(value, text.contains(',') ? ',' : '.')), text);
    }

    void solverAgreesWithScan_data();
    void solverAgreesWithScan();
    void envelopeNeverBelowPoints_data();
    void envelopeNeverBelowPoints();
};

void TestEngine::solverAgreesWithScan_data()
{
    QTest::addColumn<Input>("in");
    QTest::addColumn<Quantity>("quantity");
    QTest::addColumn<double>("step");  // m, of the brute-force scan
    QTest::addColumn<double>("limit"); // kW/m²

    QTest::newRow("outdoor, distance") << Input(Given()) << Quantity::Distance << 0.25 << 15.0;
    QTest::newRow("outdoor, height") << Input(Given()) << Quantity::Height << 0.1 << 15.0;
    QTest::newRow("screen, distance") << Input(Given().screen(6, 3, 1)) << Quantity::Distance << 0.25 << 15.0;
    // Every point below the screen's top: right behind it the screen hides the whole flame,
    // farther away less of it, and the level rises above the limit again.
    QTest::newRow("screen, level rises again behind it")
        << Input(Given().screen(6, 2, 1).at({1, 2, 3, 4, 5})) << Quantity::Distance << 0.25 << 10.0;
    QTest::newRow("limited face, width")
        << Input(Given().storage(100, 20, 6).point(20, 80)) << Quantity::Width << 0.5 << 15.0;
}

void TestEngine::solverAgreesWithScan()
{
    QFETCH(Input, in);
    QFETCH(Quantity, quantity);
    QFETCH(double, step);
    QFETCH(double, limit);
    const double L = limit * 1000;
    const engine::Solution solution = engine::Solve(in, quantity, limit, false);
    QVERIFY2(solution.ok() && solution.found, solution.message.c_str());
    const double value = solution.value;
    QCOMPARE(std::round(value * 100) / 100, value);
    QVERIFY(highest(with(in, quantity, value)) <= L);
    QCOMPARE(solution.highest, highest(with(in, quantity, value)));

    if (quantity == Quantity::Distance) {
        if (value > 0.1 + 1e-9)
            QVERIFY(highest(with(in, quantity, value - 0.01)) > L);
        std::vector<double> distances;
        for (double x = 0.1; x < 40; x += step)
            distances.push_back(x);
        for (double far : {100.0, 300.0, 1000.0})
            distances.push_back(far);
        const std::vector<double> levels = highestAlong(in, distances);
        QCOMPARE(levels.size(), distances.size());
        double lastExceeding = 0;
        for (std::size_t i = 0; i < distances.size(); ++i) {
            if (levels[i] > L && (!in.screen || distances[i] > in.xs))
                lastExceeding = distances[i];
        }
        QVERIFY(lastExceeding < value);
        QVERIFY(value <= lastExceeding + step + 0.01);
        return;
    }

    const double top = quantity == Quantity::Height ? 15 : 10000;
    if (value < top)
        QVERIFY(highest(with(in, quantity, value + 0.01)) > L);
    std::vector<double> values;
    for (double v = step; v <= std::min(top, 120.0) + 1e-9; v += step)
        values.push_back(v);
    if (quantity == Quantity::Width)
        values.insert(values.end(), {1000.0, 10000.0});
    double firstExceeding = INFINITY;
    for (double v : values) {
        if (highest(with(in, quantity, v)) > L) {
            firstExceeding = v;
            break;
        }
    }
    if (std::isinf(firstExceeding)) {
        QCOMPARE(value, top);
        return;
    }
    QVERIFY(value < firstExceeding);
    QVERIFY(value >= firstExceeding - step - 0.01);
}

void TestEngine::envelopeNeverBelowPoints_data()
{
    QTest::addColumn<Input>("in");
    QTest::newRow("screen between the points") << Input(Given().screen(6, 3, 1));
    QTest::newRow("points off the 1 cm grid") << Input(Given().at({0.333, 1.7, 4.25, 9.99, 11.111}));
}

void TestEngine::envelopeNeverBelowPoints()
{
    QFETCH(Input, in);

    const engine::LimitCheck points = engine::CheckLimit(in, 15, false);
    const engine::LimitCheck envelope = engine::CheckLimit(in, 15, true);
    QVERIFY(points.ok() && envelope.ok());
    QVERIFY(envelope.highest >= points.highest);
    QCOMPARE(envelope.point == -1, envelope.highest > points.highest);
    const double top = *std::max_element(in.heights.begin(), in.heights.end());
    QVERIFY(envelope.height >= 0 && envelope.height <= top);
    QCOMPARE(envelope.complies, envelope.highest <= 15000);
    // Not below any height of a 10 cm scan either.
    std::vector<engine::FieldPoint> scan;
    for (int z = 0; z <= int(top * 10); ++z)
        scan.push_back({in.x, in.y, z / 10.0});
    const engine::FieldResult field = engine::CalculateField(in, scan);
    QVERIFY(field.ok());
    QVERIFY(envelope.highest >= *std::max_element(field.levels.begin(), field.levels.end()));
}

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
