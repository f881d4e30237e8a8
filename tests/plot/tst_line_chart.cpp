// The line chart's layout and colours: over a table of sizes, resolutions and texts the
// texts around the plot stay inside the area, off the plot and off each other, and the
// labels inside the plot stay apart and off the marks; both colour sets read on their
// paper, and a dark chart draws nothing darker than its paper.

#include "chart_layout.h"
#include "line_chart.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QTest>

using namespace plot;

Q_DECLARE_METATYPE(plot::ChartColours)

namespace {

// A chart like the Afstand view's: five heights and the envelope, the limit, the entered
// distance and a screen close together, the minimal distance marked.
LineChart chartWith(const QString &title, const QString &seriesName, double xMax, double yMax,
                    const QString &note, const ChartColours &colours = ChartColours::Paper())
{
    LineChart chart;
    chart.colours = colours;
    chart.title = title;
    chart.xTitle = QStringLiteral("Afstand tot de opslag x (m)");
    chart.yTitle = QStringLiteral("Warmtestralingsniveau (kW/m²)");
    chart.xMax = xMax;
    chart.yMax = yMax;
    chart.note = note;
    for (std::size_t s = 0; s < 6; ++s) {
        ChartSeries series;
        series.name = QStringLiteral("%1 %2").arg(seriesName).arg(s + 1);
        series.pen = HeightSeriesPen(s, 1.6, chart.colours);
        series.marker = HeightSeriesMarker(s);
        for (int i = 0; i <= 40; ++i)
            series.points.emplace_back(i * xMax / 40, yMax * (0.9 - 0.1 * double(s)) / (1 + i * 0.2));
        chart.series.push_back(series);
    }
    const double limit = yMax * 0.2;
    chart.lines.push_back(LimitLine(limit, false, QStringLiteral("L = 15,00 kW/m²"), chart.colours));
    chart.lines.push_back({0.1 * xMax, true, QStringLiteral("scherm"), QPen(chart.colours.muted, 2.5)});
    chart.lines.push_back({0.115 * xMax, true, QStringLiteral("x = 2,30 m"), QPen(chart.colours.muted, 1.2)});
    MarkLimitDistance(chart, 0.575 * xMax, limit, QStringLiteral("minimale afstand 11,50 m"));
    return chart;
}

QImage deviceOf(const QSize &size, int dpi)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    return image;
}

QString describe(const QRectF &box)
{
    return QStringLiteral("(%1, %2, %3 × %4)").arg(box.x()).arg(box.y()).arg(box.width()).arg(box.height());
}

QPalette paletteOf(const QColor &base, const QColor &text)
{
    QPalette palette;
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Text, text);
    return palette;
}

double lightness(QRgb pixel)
{
    return QColor(pixel).lightnessF();
}

} // namespace

class TestLineChart : public QObject
{
    Q_OBJECT

private slots:
    void labelsStayClear_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("seriesName");
        QTest::addColumn<double>("xMax");
        QTest::addColumn<double>("yMax");
        QTest::addColumn<QString>("note");
        QTest::addColumn<bool>("roomForAll"); // false: a line's label may be left out, never overlap
        const QString title = QStringLiteral("Warmtestralingsniveau tegen afstand (y = 7,50 m)");
        const QString longTitle =
            title + QStringLiteral(", buitenopslag met afscherming, compact gestapeld hout");
        const QString name = QStringLiteral("punt (2,50 m)");
        const QString longName = QStringLiteral("beoordelingspunt op halve gebouwhoogte (12,50 m)");
        const QString note =
            QStringLiteral("Gemarkeerd: het hoogste niveau van de beoordelingspunten, zoals de toets "
                           "het vindt.");
        QTest::newRow("smallest view")
            << QSize(320, 260) << 96 << title << name << 20.0 << 80.0 << QString() << false;
        QTest::newRow("smallest view, long names")
            << QSize(320, 300) << 96 << title << longName << 20.0 << 80.0 << note << false;
        QTest::newRow("smallest view, long distances")
            << QSize(320, 260) << 96 << title << name << 2000.0 << 80.0 << QString() << false;
        QTest::newRow("window") << QSize(900, 620) << 96 << title << name << 20.0 << 80.0 << note << true;
        QTest::newRow("wide and low")
            << QSize(1400, 300) << 96 << longTitle << longName << 20.0 << 80.0 << note << true;
        QTest::newRow("narrow and tall")
            << QSize(340, 900) << 96 << longTitle << longName << 20.0 << 80.0 << note << true;
        QTest::newRow("large levels")
            << QSize(360, 400) << 96 << title << name << 9000.0 << 12000.0 << QString() << true;
        QTest::newRow("small levels")
            << QSize(500, 400) << 96 << title << name << 0.5 << 0.25 << QString() << true;
        QTest::newRow("calculator's chart, 150 dpi")
            << QSize(1240, 874) << 150 << title << name << 20.0 << 80.0 << note << true;
        QTest::newRow("report page, 300 dpi")
            << QSize(2100, 1400) << 300 << longTitle << longName << 20.0 << 80.0 << note << true;
    }
    void labelsStayClear()
    {
        QFETCH(QSize, size);
        QFETCH(int, dpi);
        QFETCH(QString, title);
        QFETCH(QString, seriesName);
        QFETCH(double, xMax);
        QFETCH(double, yMax);
        QFETCH(QString, note);
        QFETCH(bool, roomForAll);
        const LineChart chart = chartWith(title, seriesName, xMax, yMax, note);
        const QImage device = deviceOf(size, dpi);
        const QRectF area(QPointF(0, 0), size);
        const ChartLayout layout =
            LayoutLineChart(chart, area, &device, TextFont(QGuiApplication::font()), QLocale(QLocale::Dutch));
        QVERIFY(layout.valid());

        const std::vector<QRectF> outer = layout.outerBoxes();
        QVERIFY(outer.size() > 10);
        for (std::size_t i = 0; i < outer.size(); ++i) {
            QVERIFY2(area.contains(outer[i]), qPrintable(describe(outer[i])));
            QVERIFY2(!outer[i].intersects(layout.plot), qPrintable(describe(outer[i])));
            for (std::size_t j = i + 1; j < outer.size(); ++j)
                QVERIFY2(!outer[i].intersects(outer[j]), qPrintable(describe(outer[i]) + describe(outer[j])));
        }

        if (roomForAll)
            QCOMPARE(layout.lineLabels.size(), std::size_t(3));
        QCOMPARE(layout.markLabels.size(), std::size_t(1));
        std::vector<QRectF> inner;
        for (const auto *labels : {&layout.lineLabels, &layout.markLabels}) {
            for (const PlacedText &label : *labels)
                inner.push_back(label.box);
        }
        const double symbol = 5.5 * dpi / 96.0;
        for (const QPointF &mark : layout.markPoints)
            inner.push_back(QRectF(mark - QPointF(symbol, symbol), mark + QPointF(symbol, symbol)));
        for (std::size_t i = 0; i < inner.size(); ++i) {
            QVERIFY2(layout.plot.contains(inner[i]), qPrintable(describe(inner[i])));
            for (std::size_t j = i + 1; j < inner.size(); ++j)
                QVERIFY2(!inner[i].intersects(inner[j]), qPrintable(describe(inner[i]) + describe(inner[j])));
        }
    }

    // Texts, axes, the limit and the series read on the paper; the grid is fainter than
    // the texts but still seen.
    void coloursReadOnTheirPaper_data()
    {
        QTest::addColumn<ChartColours>("colours");
        QTest::newRow("paper") << ChartColours::Paper();
        QTest::newRow("light palette") << ChartColours::FromPalette(paletteOf(Qt::white, Qt::black));
        QTest::newRow("dark palette")
            << ChartColours::FromPalette(paletteOf(QColor(30, 30, 30), QColor(230, 230, 230)));
        QTest::newRow("dark grey palette")
            << ChartColours::FromPalette(paletteOf(QColor(0x30, 0x30, 0x30), QColor(0xd3, 0xd0, 0xc8)));
        QTest::newRow("black and white") << ChartColours::FromPalette(paletteOf(Qt::black, Qt::white));
    }
    void coloursReadOnTheirPaper()
    {
        QFETCH(ChartColours, colours);
        QVERIFY(ContrastRatio(colours.ink, colours.paper) >= 4.5);
        QVERIFY(ContrastRatio(colours.muted, colours.paper) >= 3);
        QVERIFY(ContrastRatio(colours.limit, colours.paper) >= 3);
        for (const QColor &series : colours.series)
            QVERIFY2(ContrastRatio(series, colours.paper) >= 3, qPrintable(series.name()));
        QVERIFY(ContrastRatio(colours.grid, colours.paper) >= 1.2);
        QVERIFY(ContrastRatio(colours.grid, colours.paper) < ContrastRatio(colours.muted, colours.paper));
        QVERIFY(ContrastRatio(colours.ink, colours.labelPaper) >= 4.5);
    }

    // On a dark paper every pixel is the paper or lighter: nothing is drawn in black.
    void darkChartHasNoBlackInk()
    {
        const ChartColours dark =
            ChartColours::FromPalette(paletteOf(QColor(30, 30, 30), QColor(230, 230, 230)));
        LineChart chart =
            chartWith(QStringLiteral("Titel"), QStringLiteral("punt"), 20, 80, QStringLiteral("Noot."), dark);
        chart.series.back().pen = EnvelopePen(dark);
        QImage image(700, 500, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter painter(&image);
        PaintLineChart(painter, QRectF(0, 0, 700, 500), chart, QLocale(QLocale::Dutch));
        painter.end();
        int darker = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                darker += lightness(image.pixel(x, y)) < dark.paper.lightnessF() - 0.02 ? 1 : 0;
        }
        QCOMPARE(darker, 0);
    }
};

QTEST_MAIN(TestLineChart)
#include "tst_line_chart.moc"
