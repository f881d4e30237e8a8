// The method's published figures, the shown texts and the cases the method leaves undefined.
// tst_field holds the vectorised engine, tst_limit the limit check and the solvers.

#include "calculate.h"
#include "field.h"
#include "fire_models.h"
#include "given_input.h"
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

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(Figure)
Q_DECLARE_METATYPE(Status)

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
            << Figures {{"CountedFaceWidth", "45.000025"}, {"StorageWidth", "10.000001"}, {"StorageDepth", "10.000001"},
                        {"PointDistance", "5.00000001"},
                        {"PointFraction", "0.5000000"}, {"EquivalentDiameter", "11.28379"}, {"FlameHeight", "24.00003"},
                        {"Transmission", "0.9343648"}, {"level1", "38138.07"}, {"level5", "36734.63"}};
        QTest::newRow("compact") << Input(Given().compact()) << QStringList {"21.7", "24.4", "22.77", "17.26", "9.91"}
            << Figures {{"FlameHeight", "12.000015"}};
        QTest::newRow("screen hs 4 xs 2 K 1") << Input(Given().screen(4, 2, 1))
            << QStringList {"11.73", "33.13", "43.07", "41.72", "36.73"} << none;
        QTest::newRow("screen half efficient") << Input(Given().screen(4, 2, 0.5))
            << QStringList {"24.94", "38.65", "43.91", "41.72", "36.73"} << none;
        // Without the screen its inputs shield nothing, even a distance beyond the points.
        QTest::newRow("a screen's inputs count only with the screen") << Input(Given().screen(4, 8, 1, false))
            << QStringList {"38.14", "44.17", "44.76", "41.72", "36.73"} << none;
        QTest::newRow("next to the face (x 0.01)") << Input(Given().point(0.01, 5))
            << QStringList {"78.58", "78.58", "78.58", "68.42", "57.2"} << Figures {{"Transmission", "1"}};
        QTest::newRow("indoor") << Input(Given().indoor()) << QStringList {"22.29"}
            << Figures {{"StorageWidth", "10.000001"}, {"PointFraction", "0.5000001"}, {"StorageHeight", "8.00001"},
                        {"firstHeight", "4.000005"}, {"level1", "22293.08"}};
        QTest::newRow("small pile, in line with a side") << Input(Given().storage(5, 5, 3))
            << QStringList {"15.23", "14.58", "10.77", "6.23", "2.89"}
            << Figures {{"PointFraction", "0"}, {"EquivalentDiameter", "5.641898"}, {"FlameHeight", "9.919278"}};
        // Stacking does not enter the power law, only the strips' temperature.
        QTest::newRow("small pile, compact") << Input(Given().storage(5, 5, 3).compact())
            << QStringList {"9.54", "9.67", "7.7", "4.72", "2.22"} << Figures {{"FlameHeight", "9.919278"}};
        // Either side of the equivalent diameter of 10 m, where the flame law changes.
        QTest::newRow("just below the flame law's change") << Input(Given().storage(8.85, 8.85, 8))
            << QStringList {"35.36", "40.63", "40.31", "35.95", "29.43"}
            << Figures {{"EquivalentDiameter", "9.986158"}, {"FlameHeight", "18.96186"}};
        QTest::newRow("just above the flame law's change") << Input(Given().storage(8.87, 8.87, 8))
            << QStringList {"35.73", "41.37", "41.89", "39.01", "34.32"}
            << Figures {{"EquivalentDiameter", "10.008725"}, {"FlameHeight", "24.00003"}};
        // The fraction of the width as entered, not with its offset.
        QTest::newRow("point off the middle") << Input(Given().point(5, 2))
            << QStringList {"32.66", "37.81", "38.34", "35.79", "31.55"} << Figures {{"PointFraction", "0.200000100"}};
        QTest::newRow("long face limited") << Input(Given().storage(100, 20, 6).point(20, 80))
            << QStringList {"14.92", "15.69", "15.86", "15.42", "14.44"}
            << Figures {{"CountedFaceWidth", "40.000025"}, {"StorageWidth", "40.000025"},
                        {"PointFraction", "0.4999997"}, {"EquivalentDiameter", "31.9154"}, {"FlameHeight", "18.00003"}};
        QTest::newRow("low pile keeps the minimum width") << Input(Given().storage(50, 10, 2).point(10, 10))
            << QStringList {"12.95", "11.79", "9.25", "6.56", "4.41"}
            << Figures {{"CountedFaceWidth", "35"}, {"StorageWidth", "35"}, {"PointFraction", "0.2857143"},
                        {"FlameHeight", "6.00003"}};
        // Mirrored to 20 m from the nearer side: beyond half the counted face.
        QTest::newRow("long face, point beyond half the counted face")
            << Input(Given().storage(50, 10, 2).point(10, 30)) << QStringList {"13.63", "12.43", "9.8", "6.99", "4.73"}
            << Figures {{"PointFraction", "0.5"}};
        // Indoors the position is not mirrored: 5 m beyond the far side.
        QTest::newRow("indoor, beyond the far side") << Input(Given().indoor().point(5, 15)) << QStringList {"2.67"}
            << Figures {{"PointFraction", "1.5000001"}};
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
                                             {"StorageDepth", state.StorageDepth},
                                             {"PointDistance", state.PointDistance},
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
};

QTEST_GUILESS_MAIN(TestEngine)
#include "tst_engine.moc"
