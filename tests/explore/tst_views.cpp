// The exploration's pictures: the plan's labels stay clear of each other and of the
// assessment point's symbol in every situation that crowds them, the views drawn on a
// dark palette draw no black ink, and the Hoogte view names a building a building.

#include "explored.h"
#include "given_input.h"
#include "view_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTest>

using namespace explore;

Q_DECLARE_METATYPE(engine::CalculationInput)
Q_DECLARE_METATYPE(explore::ViewKind)

namespace {

// The plan's resolution here: coarse, for speed; the labels follow the contours alike.
constexpr int kResolution = 60;

Exploration planned(const engine::CalculationInput &storage, bool pointOnTheLimit = false)
{
    ExplorationInput input;
    input.storage = storage;
    Refusal refusal;
    if (pointOnTheLimit)
        input.storage.x = ComputeAnswers(input, refusal).distance.value;
    return Explored(input, kResolution);
}

QString describe(const PlanLabel &label)
{
    return QStringLiteral("\"%1\" (%2, %3, %4 × %5)")
        .arg(label.text)
        .arg(label.box.x())
        .arg(label.box.y())
        .arg(label.box.width())
        .arg(label.box.height());
}

bool hasLabel(const PlanLabels &labels, const QString &text)
{
    return std::any_of(labels.labels.begin(), labels.labels.end(),
                       [&](const PlanLabel &label) { return label.text == text; });
}

ChartColours darkColours()
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(30, 30, 30));
    palette.setColor(QPalette::Text, QColor(230, 230, 230));
    return ChartColours::FromPalette(palette);
}

} // namespace

class TestViews : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands)); }

    void planLabelsStayClear_data()
    {
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::addColumn<bool>("pointOnTheLimit");
        QTest::addColumn<QSize>("size");
        QTest::newRow("point on the limit's line")
            << engine::CalculationInput(Given()) << true << QSize(900, 620);
        QTest::newRow("point among the high levels")
            << engine::CalculationInput(Given().point(2, 5)) << false << QSize(900, 620);
        QTest::newRow("point on the limit, small view")
            << engine::CalculationInput(Given()) << true << QSize(420, 320);
        QTest::newRow("screen") << engine::CalculationInput(Given().storage(15, 10, 6).point(10, 7.5).screen(
            5, 2, 1)) << true << QSize(900, 620);
        QTest::newRow("long face") << engine::CalculationInput(Given().storage(120, 10, 6).point(8, 30))
                                   << true << QSize(1000, 500);
        QTest::newRow("indoor") << engine::CalculationInput(Given().indoor()) << true << QSize(700, 700);
    }
    void planLabelsStayClear()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(bool, pointOnTheLimit);
        QFETCH(QSize, size);
        const Exploration exploration = planned(storage, pointOnTheLimit);
        QVERIFY(!exploration.refusal.refused());
        const QImage device(size, QImage::Format_RGB32);
        const PlanLayout layout = LayoutPlan(QRectF(QPointF(0, 0), size), exploration, 1);
        QVERIFY(layout.valid());
        const PlanLabels labels = LayoutPlanLabels(layout, exploration, &device,
                                                   plot::TextFont(QGuiApplication::font()), QLocale());
        QVERIFY(!labels.pointSymbol.isEmpty());
        QVERIFY(hasLabel(labels, QStringLiteral("beoordelingspunt")));
        QVERIFY(hasLabel(labels, QStringLiteral("L = 15 kW/m²")));
        for (std::size_t i = 0; i < labels.labels.size(); ++i) {
            const PlanLabel &label = labels.labels[i];
            QVERIFY2(layout.map.contains(label.box), qPrintable(describe(label)));
            QVERIFY2(!label.box.intersects(labels.pointSymbol), qPrintable(describe(label)));
            for (std::size_t j = i + 1; j < labels.labels.size(); ++j)
                QVERIFY2(!label.box.intersects(labels.labels[j].box),
                         qPrintable(describe(label) + describe(labels.labels[j])));
        }
    }

    // Outside the plan's map (its colours carry values), and everywhere on the charts,
    // nothing is darker than the dark paper: no text, axis or legend left in black.
    void darkViewsHaveNoBlackInk_data()
    {
        QTest::addColumn<ViewKind>("kind");
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::newRow("Afstand, screen")
            << ViewKind::Distance << engine::CalculationInput(Given().screen(4, 2, 0.6));
        QTest::newRow("Hoogte, indoor") << ViewKind::Height << engine::CalculationInput(Given().indoor());
        QTest::newRow("plan, screen")
            << ViewKind::Plan << engine::CalculationInput(Given().screen(4, 2, 0.6));
    }
    void darkViewsHaveNoBlackInk()
    {
        QFETCH(ViewKind, kind);
        QFETCH(engine::CalculationInput, storage);
        const Exploration exploration = planned(storage);
        const ChartColours dark = darkColours();
        const QRectF area(0, 0, 800, 560);
        QImage image(area.size().toSize(), QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        PaintView(painter, area, kind, exploration, QLocale(), dark);
        painter.end();
        const QRect map =
            kind == ViewKind::Plan ? LayoutPlan(area, exploration, 1).map.toAlignedRect() : QRect();
        int darker = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (!map.contains(x, y))
                    darker += QColor(image.pixel(x, y)).lightnessF() < dark.paper.lightnessF() - 0.02 ? 1 : 0;
            }
        }
        QCOMPARE(darker, 0);
    }

    void heightViewNamesTheTop_data()
    {
        QTest::addColumn<engine::CalculationInput>("storage");
        QTest::addColumn<QString>("top");
        QTest::newRow("outdoor") << engine::CalculationInput(Given()) << "bovenkant opslag H = 8,00 m";
        QTest::newRow("indoor") << engine::CalculationInput(Given().indoor())
                                << "bovenkant gebouw H = 8,00 m";
    }
    void heightViewNamesTheTop()
    {
        QFETCH(engine::CalculationInput, storage);
        QFETCH(QString, top);
        Exploration exploration;
        exploration.input.storage = storage;
        const plot::LineChart chart = HeightChart(exploration, QLocale());
        QVERIFY(std::any_of(chart.lines.begin(), chart.lines.end(),
                            [&](const plot::ChartLine &line) { return line.label == top; }));
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"
