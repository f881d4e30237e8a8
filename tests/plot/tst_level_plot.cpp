// The calculator's level chart against the engine: its curves start at the engine's first
// distance, the envelope is the engine's, and no level is drawn below 0.

#include "given_input.h"
#include "level_plot.h"
#include "limit.h"

#include <QTest>

#include <cmath>

Q_DECLARE_METATYPE(engine::CalculationInput)

namespace {

// A screen that shields the lowest point's whole flame close behind it.
Given screened()
{
    return Given().storage(15, 10, 6).point(10, 7.5).screen(5, 2, 1);
}

} // namespace

class TestLevelPlot : public QObject
{
    Q_OBJECT

private slots:
    void curvesFollowTheEngine_data()
    {
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::addColumn<bool>("envelope");
        QTest::newRow("defaults") << engine::CalculationInput(Given()) << false;
        QTest::newRow("screen at 2.345 m") << engine::CalculationInput(Given().screen(4, 2.345, 0.6)) << true;
        QTest::newRow("full screen") << engine::CalculationInput(screened()) << true;
        QTest::newRow("indoor") << engine::CalculationInput(Given().indoor()) << false;
    }
    void curvesFollowTheEngine()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(bool, envelope);
        plot::LevelPlot chart;
        QString error;
        QVERIFY2(plot::levelPlot(storage, 15, envelope, chart, error), qPrintable(error));
        QCOMPARE(chart.firstDistance, engine::FirstDistance(storage));
        QCOMPARE(chart.curves.size(), std::size_t(storage.indoor ? 1 : envelope ? 6 : 5));
        for (const plot::Curve &curve : chart.curves) {
            QCOMPARE(curve.points.front().x(), engine::FirstDistance(storage));
            for (const QPointF &p : curve.points)
                QVERIFY2(p.y() >= 0,
                         qPrintable(QString("%1 at %2 m: %3").arg(curve.label).arg(p.x()).arg(p.y())));
        }
        if (!envelope)
            return;
        const plot::Curve &top = chart.curves.back();
        QVERIFY(top.envelope);
        for (std::size_t i = 0; i < top.points.size(); i += 50) {
            engine::CalculationInput at = storage;
            at.x = top.points[i].x();
            QCOMPARE(top.points[i].y(), engine::CheckLimit(at, 15, true).highest / 1000);
        }
    }
};

QTEST_GUILESS_MAIN(TestLevelPlot)
#include "tst_level_plot.moc"
