#include "line_chart.h"

#include "chart_layout.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace plot {
namespace {

const Qt::PenStyle kSeriesStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                      Qt::DashDotDotLine};
const Marker kSeriesMarkers[] = {Marker::Circle, Marker::Square, Marker::Triangle, Marker::Diamond,
                                 Marker::Cross};

// Pens and symbols, in pixels of a 96 dpi screen.
constexpr double kGridWidth = 0.8;
constexpr double kFrameWidth = 1.2;
constexpr double kMarkerPenWidth = 1.2;
constexpr double kMarkerSize = 7;
constexpr double kMarkPenWidth = 1.6;
constexpr double kMarkSize = 11;
constexpr std::size_t kMarkersPerSeries = 8;
constexpr double kEnvelopeWidth = 3;
constexpr double kLimitWidth = 2.2;
constexpr double kLimitDistanceWidth = 1.2;

QPen scaled(QPen pen, double u)
{
    pen.setWidthF(pen.widthF() * u);
    return pen;
}

void drawGrid(QPainter &painter, const ChartLayout &layout, const ChartColours &colours, double u)
{
    painter.setPen(QPen(colours.grid, kGridWidth * u));
    for (double v = layout.xMin; v <= layout.xMax + layout.xStep * 1e-6; v += layout.xStep) {
        const double x = layout.toDevice({v, 0}).x();
        painter.drawLine(QPointF(x, layout.plot.top()), QPointF(x, layout.plot.bottom()));
    }
    for (double v = layout.yMin; v <= layout.yMax + layout.yStep * 1e-6; v += layout.yStep) {
        const double y = layout.toDevice({0, v}).y();
        painter.drawLine(QPointF(layout.plot.left(), y), QPointF(layout.plot.right(), y));
    }
}

void drawOuterTexts(QPainter &painter, const ChartLayout &layout, const ChartColours &colours)
{
    const PainterState state(painter);
    const QFont text = painter.font();
    painter.setPen(colours.ink);
    painter.setFont(TitleFont(text));
    painter.drawText(layout.title.box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, layout.title.text);
    painter.setFont(text);
    for (const auto *ticks : {&layout.xTicks, &layout.yTicks}) {
        for (const PlacedText &tick : *ticks)
            painter.drawText(tick.box, Qt::AlignCenter, tick.text);
    }
    painter.drawText(layout.xTitle.box, Qt::AlignCenter, layout.xTitle.text);
    painter.drawText(layout.note.box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, layout.note.text);
    // The y title turned a quarter left, reading upwards, in its box.
    const QRectF &box = layout.yTitle.box;
    painter.translate(box.left(), box.bottom());
    painter.rotate(-90);
    painter.drawText(QRectF(0, 0, box.height(), box.width()), Qt::AlignCenter, layout.yTitle.text);
}

void drawLines(QPainter &painter, const ChartLayout &layout, const LineChart &chart, double u)
{
    for (const ChartLine &line : chart.lines) {
        painter.setPen(scaled(line.pen, u));
        const QPointF at = layout.toDevice({line.value, line.value});
        if (line.vertical)
            painter.drawLine(QPointF(at.x(), layout.plot.top()), QPointF(at.x(), layout.plot.bottom()));
        else
            painter.drawLine(QPointF(layout.plot.left(), at.y()), QPointF(layout.plot.right(), at.y()));
    }
}

void drawSeries(QPainter &painter, const ChartLayout &layout, const LineChart &chart, double u)
{
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries &series = chart.series[s];
        QPainterPath path;
        for (std::size_t i = 0; i < series.points.size(); ++i) {
            const QPointF p = layout.toDevice(series.points[i]);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(scaled(series.pen, u));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        // A few markers per series, staggered so that series lying close stay apart.
        if (series.marker != Marker::None && series.points.size() > 1) {
            const std::size_t every = std::max<std::size_t>(1, series.points.size() / kMarkersPerSeries);
            painter.setPen(QPen(series.pen.color(), kMarkerPenWidth * u));
            painter.setBrush(chart.colours.paper);
            for (std::size_t i = (s * every) / 5; i < series.points.size(); i += every)
                DrawMarker(painter, layout.toDevice(series.points[i]), series.marker, kMarkerSize * u);
        }
    }
}

void drawInnerLabels(QPainter &painter, const ChartLayout &layout, const LineChart &chart, double u)
{
    for (const PlacedText &label : layout.lineLabels)
        DrawLabelIn(painter, label.box, label.text, chart.colours);
    std::size_t shown = 0;
    for (const ChartMark &mark : chart.marks) {
        const QPointF p = layout.toDevice(mark.point);
        if (!layout.plot.contains(p))
            continue;
        painter.setPen(QPen(chart.colours.ink, kMarkPenWidth * u));
        painter.setBrush(chart.colours.paper);
        DrawMarker(painter, p, mark.marker, kMarkSize * u);
        const PlacedText &label = layout.markLabels[shown++];
        DrawLabelIn(painter, label.box, label.text, chart.colours);
    }
}

void drawLegend(QPainter &painter, const ChartLayout &layout, const LineChart &chart, double u)
{
    for (std::size_t s = 0; s < chart.series.size() && s < layout.legend.size(); ++s) {
        const ChartSeries &series = chart.series[s];
        const LegendEntry &entry = layout.legend[s];
        const double y = entry.sample.center().y();
        painter.setPen(scaled(series.pen, u));
        painter.drawLine(QPointF(entry.sample.left(), y), QPointF(entry.sample.right(), y));
        painter.setPen(QPen(series.pen.color(), kMarkerPenWidth * u));
        painter.setBrush(chart.colours.paper);
        DrawMarker(painter, entry.sample.center(), series.marker, kMarkerSize * u);
        painter.setPen(chart.colours.ink);
        painter.drawText(entry.name.box, Qt::AlignLeft | Qt::AlignVCenter, entry.name.text);
    }
}

} // namespace

QPen HeightSeriesPen(std::size_t index, double width, const ChartColours &colours)
{
    return QPen(colours.series[index % colours.series.size()], width, kSeriesStyles[index % 5]);
}

Marker HeightSeriesMarker(std::size_t index)
{
    return kSeriesMarkers[index % 5];
}

QPen EnvelopePen(const ChartColours &colours)
{
    return QPen(colours.ink, kEnvelopeWidth, Qt::SolidLine);
}

ChartLine LimitLine(double limit, bool vertical, const QString &label, const ChartColours &colours)
{
    return {limit, vertical, label, QPen(colours.limit, kLimitWidth, Qt::DashLine)};
}

void MarkLimitDistance(LineChart &chart, double distance, double limit, const QString &label)
{
    chart.lines.push_back(
        {distance, true, QString(), QPen(chart.colours.limit, kLimitDistanceWidth, Qt::SolidLine)});
    chart.marks.push_back({QPointF(distance, limit), label, Marker::Diamond});
}

void PaintLineChart(QPainter &painter, const QRectF &area, const LineChart &chart, const QLocale &locale)
{
    const ViewScope view(painter, area, chart.colours);
    const double u = DeviceUnit(painter);
    const ChartLayout layout = LayoutLineChart(chart, area, painter.device(), view.font(), locale);
    if (!layout.valid())
        return;
    drawGrid(painter, layout, chart.colours, u);
    drawOuterTexts(painter, layout, chart.colours);
    painter.setPen(QPen(chart.colours.ink, kFrameWidth * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.plot);
    {
        const PainterState clipped(painter);
        painter.setClipRect(layout.plot);
        drawLines(painter, layout, chart, u);
        drawSeries(painter, layout, chart, u);
    }
    drawInnerLabels(painter, layout, chart, u);
    drawLegend(painter, layout, chart, u);
}

} // namespace plot
