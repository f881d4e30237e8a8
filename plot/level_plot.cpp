#include "level_plot.h"

#include "field.h"
#include "limit.h"
#include "line_chart.h"
#include "number_text.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRectF>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

constexpr int kSamples = 200;
constexpr double kWidth = 1050; // logical units: A5 landscape, 0.2 mm each
constexpr double kHeight = 740;
constexpr double kPngDotsPerInch = 150;

QString number(double value)
{
    return QString::fromStdString(engine::numberToText(value, '.'));
}

// A level the engine lets pass below zero rounds to 0 kW/m²: noise behind a screen.
double kw(double level)
{
    return std::max(0.0, level) / 1000;
}

} // namespace

bool levelPlot(const engine::CalculationInput &input, double limitKw, bool envelope, LevelPlot &plot,
               QString &error)
{
    plot = LevelPlot {};
    plot.limitKw = limitKw;
    plot.title = QStringLiteral("Warmtestralingsniveau tegen afstand");
    plot.subtitle = QStringLiteral("%1: B %2 m, D %3 m, H %4 m%5%6")
                        .arg(input.indoor ? QStringLiteral("Binnenopslag") : QStringLiteral("Buitenopslag"),
                             number(input.B), number(input.D), number(input.H),
                             input.compact ? QStringLiteral(", compact gestapeld") : QString(),
                             input.screen && !input.indoor ? QStringLiteral(", afscherming %1 m hoog op %2 m")
                                                                 .arg(number(input.hs), number(input.xs))
                                                           : QString());

    const engine::Solution safe = engine::Solve(input, engine::SolveQuantity::Distance, limitKw, envelope);
    if (!safe.ok()) {
        error = QString::fromStdString(safe.message);
        return false;
    }
    // Where the first distance searched complies already, that distance is the edge of the
    // search, not an answer: the chart marks no distance then and says every distance complies.
    plot.everyDistanceComplies = safe.found && safe.bound == engine::SolutionBound::Lowest;
    plot.hasSafeDistance = safe.found && !plot.everyDistanceComplies;
    plot.safeDistance = safe.value;

    const double first = engine::FirstDistance(input);
    const double reach = std::max({10.0, 1.5 * input.x, safe.found ? 1.6 * safe.value : 0.0});
    const double last = std::ceil(reach / TickStep(reach, 8)) * TickStep(reach, 8);
    plot.firstDistance = first;
    plot.lastDistance = last;

    std::vector<double> distances;
    for (int i = 0; i < kSamples; ++i)
        distances.push_back(first + (last - first) * i / (kSamples - 1));

    const std::size_t count = input.indoor ? 1 : input.heights.size();
    std::vector<engine::FieldPoint> points;
    for (double x : distances) {
        for (std::size_t j = 0; j < count; ++j)
            points.push_back({x, input.y, input.heights[j]});
    }
    const engine::FieldResult field = engine::CalculateField(input, points, '.');
    if (!field.ok()) {
        error = QString::fromStdString(field.message);
        return false;
    }
    for (std::size_t j = 0; j < count; ++j) {
        Curve curve;
        curve.label = input.indoor
            ? QStringLiteral("Op halve gebouwhoogte (%1 m)").arg(number(input.H / 2))
            : QStringLiteral("Punt %1, hoogte %2 m").arg(j + 1).arg(number(input.heights[j]));
        for (std::size_t i = 0; i < distances.size(); ++i)
            curve.points.emplace_back(distances[i], kw(field.levels[i * count + j]));
        plot.curves.push_back(curve);
    }
    if (envelope && !input.indoor) {
        const engine::HighestLevels highest = engine::HighestAlong(input, distances, true);
        if (!highest.ok()) {
            error = QString::fromStdString(highest.message);
            return false;
        }
        Curve curve;
        const double top = *std::max_element(input.heights.begin(), input.heights.end());
        curve.label = QStringLiteral("Omhullende, 0 tot %1 m hoog").arg(number(top));
        curve.envelope = true;
        for (std::size_t i = 0; i < distances.size(); ++i)
            curve.points.emplace_back(distances[i], kw(highest.levels[i]));
        plot.curves.push_back(curve);
    }
    return true;
}

namespace {

// The chart in the programs' shared line-chart look: the title, the storage as a note, a
// series per height, the limit and the safe distance.
void drawLevelPlot(QPainter &painter, const QRectF &area, const LevelPlot &plot)
{
    LineChart chart;
    chart.title = plot.title;
    chart.note = plot.subtitle;
    chart.xTitle = QStringLiteral("Afstand tot de opslag x (m)");
    chart.yTitle = QStringLiteral("Warmtestralingsniveau (kW/m²)");
    chart.xMax = plot.lastDistance;
    double top = plot.limitKw * 1.15;
    std::size_t height = 0;
    for (const Curve &curve : plot.curves) {
        ChartSeries series;
        series.name = curve.label;
        series.points = curve.points;
        if (curve.envelope) {
            series.pen = EnvelopePen(chart.colours);
        } else {
            series.pen = HeightSeriesPen(height, 1.6, chart.colours);
            series.marker = HeightSeriesMarker(height++);
        }
        for (const QPointF &p : curve.points)
            top = std::max(top, p.y());
        chart.series.push_back(series);
    }
    chart.yMax = std::ceil(top / TickStep(top, 7)) * TickStep(top, 7);
    QString limitLabel = QStringLiteral("Grenswaarde %1 kW/m²").arg(number(plot.limitKw));
    if (plot.everyDistanceComplies)
        limitLabel += QStringLiteral(": elke afstand voldoet");
    chart.lines.push_back(LimitLine(plot.limitKw, false, limitLabel, chart.colours));
    if (plot.hasSafeDistance && plot.safeDistance <= plot.lastDistance) {
        MarkLimitDistance(chart, plot.safeDistance, plot.limitKw,
                          QStringLiteral("minimale afstand %1 m").arg(number(plot.safeDistance)));
    }
    PaintLineChart(painter, area, chart, QLocale::c());
}

} // namespace

bool formatForFile(const QString &file, Format &format)
{
    const QString lower = file.toLower();
    if (lower.endsWith(QLatin1String(".svg")))
        format = Format::Svg;
    else if (lower.endsWith(QLatin1String(".png")))
        format = Format::Png;
    else if (lower.endsWith(QLatin1String(".pdf")))
        format = Format::Pdf;
    else
        return false;
    return true;
}

QByteArray renderLevelPlot(const LevelPlot &plot, Format format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case Format::Svg: {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(QSize(int(kWidth), int(kHeight)));
        generator.setViewBox(QRectF(0, 0, kWidth, kHeight));
        generator.setResolution(127); // 1050 units over 210 mm
        generator.setTitle(plot.title);
        QPainter painter(&generator);
        drawLevelPlot(painter, QRectF(0, 0, kWidth, kHeight), plot);
        break;
    }
    case Format::Png: {
        const double mm = kPngDotsPerInch / 25.4;
        QImage image(qRound(210 * mm), qRound(148 * mm), QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(qRound(kPngDotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(kPngDotsPerInch / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            drawLevelPlot(painter, QRectF(0, 0, image.width(), image.height()), plot);
        }
        image.save(&buffer, "PNG");
        break;
    }
    case Format::Pdf: {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A5));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        writer.setTitle(plot.title);
        writer.setCreator(QStringLiteral("Warmtegloedvracht"));
        QPainter painter(&writer);
        drawLevelPlot(painter, QRectF(0, 0, writer.width(), writer.height()), plot);
        break;
    }
    }
    return bytes;
}

} // namespace plot
