#include "line_chart.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace plot {

namespace {

const Qt::PenStyle kSeriesStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                      Qt::DashDotDotLine};
const Marker kSeriesMarkers[] = {Marker::Circle, Marker::Square, Marker::Triangle, Marker::Diamond,
                                 Marker::Cross};
const QColor kLimitColour(190, 0, 0);
const QColor kSeriesColours[] = {QColor(0, 90, 181), QColor(220, 50, 32), QColor(0, 140, 70),
                                 QColor(150, 70, 170), QColor(200, 120, 0)};

} // namespace

QPen HeightSeriesPen(std::size_t index, double width)
{
    return QPen(kSeriesColours[index % 5], width, kSeriesStyles[index % 5]);
}

Marker HeightSeriesMarker(std::size_t index)
{
    return kSeriesMarkers[index % 5];
}

QPen EnvelopePen()
{
    return QPen(Qt::black, 3, Qt::SolidLine);
}

ChartLine LimitLine(double limit, bool vertical, const QString &label)
{
    return {limit, vertical, label, QPen(kLimitColour, 2.2, Qt::DashLine)};
}

void MarkLimitDistance(LineChart &chart, double distance, double limit, const QString &label)
{
    chart.lines.push_back({distance, true, QString(), QPen(kLimitColour, 1.2, Qt::SolidLine)});
    chart.marks.push_back({QPointF(distance, limit), label, Marker::Diamond});
}

double DeviceUnit(const QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    return device ? device->logicalDpiY() / 96.0 : 1.0;
}

QFont BeginView(QPainter &painter, const QRectF &area)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    QFont font = painter.font();
    font.setPointSizeF(9);
    painter.setFont(font);
    return font;
}

double TickStep(double span, int ticks)
{
    if (!(span > 0))
        return 1;
    const double raw = span / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double step : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (step * power >= raw)
            return step * power;
    }
    return 10 * power;
}

QString TickText(double value, double step, const QLocale &locale)
{
    int decimals = 0;
    while (decimals < 4
           && std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    if (std::abs(value) < step * 1e-9)
        value = 0;
    return locale.toString(value, 'f', decimals);
}

void DrawMarker(QPainter &painter, const QPointF &centre, Marker marker, double size)
{
    const double r = size / 2;
    QPolygonF polygon;
    switch (marker) {
    case Marker::None:
        return;
    case Marker::Circle:
        painter.drawEllipse(centre, r, r);
        return;
    case Marker::Square:
        painter.drawRect(QRectF(centre.x() - r, centre.y() - r, size, size));
        return;
    case Marker::Triangle:
        polygon << QPointF(centre.x(), centre.y() - r) << QPointF(centre.x() + r, centre.y() + r)
                << QPointF(centre.x() - r, centre.y() + r);
        painter.drawPolygon(polygon);
        return;
    case Marker::Diamond:
        polygon << QPointF(centre.x(), centre.y() - r) << QPointF(centre.x() + r, centre.y())
                << QPointF(centre.x(), centre.y() + r) << QPointF(centre.x() - r, centre.y());
        painter.drawPolygon(polygon);
        return;
    case Marker::Cross:
        painter.drawLine(QPointF(centre.x() - r, centre.y() - r), QPointF(centre.x() + r, centre.y() + r));
        painter.drawLine(QPointF(centre.x() - r, centre.y() + r), QPointF(centre.x() + r, centre.y() - r));
        return;
    }
}

QRectF LabelBox(const QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment)
{
    const double u = DeviceUnit(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QSizeF size(metrics.horizontalAdvance(text) + 6 * u, metrics.height() + 2 * u);
    QPointF topLeft = anchor;
    if (alignment & Qt::AlignRight)
        topLeft.rx() -= size.width();
    else if (alignment & Qt::AlignHCenter)
        topLeft.rx() -= size.width() / 2;
    if (alignment & Qt::AlignBottom)
        topLeft.ry() -= size.height();
    else if (alignment & Qt::AlignVCenter)
        topLeft.ry() -= size.height() / 2;
    return QRectF(topLeft, size);
}

QRectF DrawLabel(QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment)
{
    const double u = DeviceUnit(painter);
    const QRectF box = LabelBox(painter, anchor, text, alignment);
    painter.save();
    painter.setPen(QPen(QColor(60, 60, 60), 0.8 * u));
    painter.setBrush(QColor(255, 255, 255, 235));
    painter.drawRect(box);
    painter.setPen(Qt::black);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
    return box;
}

void PaintLineChart(QPainter &painter, const QRectF &area, const LineChart &chart, const QLocale &locale)
{
    const double u = DeviceUnit(painter);
    const QFont font = BeginView(painter, area);
    const QFontMetricsF metrics(font, painter.device());
    const double line = metrics.height();

    QFont titleFont = font;
    titleFont.setPointSizeF(11);
    titleFont.setBold(true);

    const double xStep = TickStep(chart.xMax - chart.xMin, 8);
    const double yStep = TickStep(chart.yMax - chart.yMin, 6);
    double yTickWidth = 0;
    for (double v = chart.yMin; v <= chart.yMax + yStep * 1e-6; v += yStep)
        yTickWidth = std::max(yTickWidth, metrics.horizontalAdvance(TickText(v, yStep, locale)));

    const double legendHeight = (chart.series.size() + 1) / 2 * (line + 2 * u) + 6 * u;
    const QRectF plot(area.left() + line + yTickWidth + 16 * u, area.top() + 2 * line + 8 * u,
                      area.width() - (line + yTickWidth + 16 * u) - 16 * u,
                      area.height() - (2 * line + 8 * u) - (2 * line + 14 * u) - legendHeight
                          - (chart.note.isEmpty() ? 0 : line + 4 * u));
    if (plot.width() < 20 || plot.height() < 20) {
        painter.restore();
        return;
    }
    auto toDevice = [&](const QPointF &p) {
        return QPointF(plot.left() + (p.x() - chart.xMin) / (chart.xMax - chart.xMin) * plot.width(),
                       plot.bottom() - (p.y() - chart.yMin) / (chart.yMax - chart.yMin) * plot.height());
    };

    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(area.left(), area.top() + 4 * u, area.width(), line * 1.4), Qt::AlignHCenter,
                     chart.title);
    painter.setFont(font);

    // Grid and ticks.
    painter.setPen(QPen(QColor(215, 215, 215), 0.8 * u));
    for (double v = chart.xMin; v <= chart.xMax + xStep * 1e-6; v += xStep) {
        const double x = toDevice({v, 0}).x();
        painter.setPen(QPen(QColor(215, 215, 215), 0.8 * u));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - 40 * u, plot.bottom() + 3 * u, 80 * u, line), Qt::AlignHCenter,
                         TickText(v, xStep, locale));
    }
    for (double v = chart.yMin; v <= chart.yMax + yStep * 1e-6; v += yStep) {
        const double y = toDevice({0, v}).y();
        painter.setPen(QPen(QColor(215, 215, 215), 0.8 * u));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - yTickWidth - 6 * u, y - line / 2, yTickWidth, line),
                         Qt::AlignRight | Qt::AlignVCenter, TickText(v, yStep, locale));
    }
    painter.setPen(QPen(Qt::black, 1.2 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    painter.drawText(QRectF(plot.left(), plot.bottom() + line + 5 * u, plot.width(), line), Qt::AlignHCenter,
                     chart.xTitle);
    painter.save();
    painter.translate(area.left() + 4 * u, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, 0, plot.height(), line), Qt::AlignHCenter, chart.yTitle);
    painter.restore();

    painter.save();
    painter.setClipRect(plot);
    auto scaled = [u](QPen pen) {
        pen.setWidthF(pen.widthF() * u);
        return pen;
    };
    for (const ChartLine &l : chart.lines) {
        painter.setPen(scaled(l.pen));
        if (l.vertical) {
            const double x = toDevice({l.value, 0}).x();
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        } else {
            const double y = toDevice({0, l.value}).y();
            painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
    }
    for (size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries &series = chart.series[s];
        QPainterPath path;
        for (size_t i = 0; i < series.points.size(); ++i) {
            const QPointF p = toDevice(series.points[i]);
            if (i == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        painter.setPen(scaled(series.pen));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        // A few markers per series, staggered so that series lying close stay apart.
        if (series.marker != Marker::None && series.points.size() > 1) {
            const size_t every = std::max<size_t>(1, series.points.size() / 8);
            painter.setPen(QPen(series.pen.color(), 1.2 * u));
            painter.setBrush(Qt::white);
            for (size_t i = (s * every) / 5; i < series.points.size(); i += every)
                DrawMarker(painter, toDevice(series.points[i]), series.marker, 7 * u);
        }
    }
    painter.restore();

    // Labels of the lines, inside the plot at their top or right end.
    std::vector<QRectF> labels;
    for (const ChartLine &l : chart.lines) {
        if (l.label.isEmpty())
            continue;
        if (l.vertical) {
            const double x = toDevice({l.value, 0}).x();
            if (x >= plot.left() && x <= plot.right())
                labels.push_back(DrawLabel(painter, QPointF(x + 3 * u, plot.top() + 3 * u), l.label,
                                           Qt::AlignLeft | Qt::AlignTop));
        } else {
            // At the right end, or at the left end when a mark sits under the right one.
            const double y = toDevice({0, l.value}).y();
            const QPointF rightEnd(plot.right() - 3 * u, y - 2 * u);
            const QRectF box = LabelBox(painter, rightEnd, l.label, Qt::AlignRight | Qt::AlignBottom)
                                   .adjusted(-6 * u, -6 * u, 6 * u, 6 * u);
            const bool covers =
                std::any_of(chart.marks.begin(), chart.marks.end(),
                            [&](const ChartMark &mark) { return box.contains(toDevice(mark.point)); });
            if (y >= plot.top() && y <= plot.bottom())
                labels.push_back(
                    covers ? DrawLabel(painter, QPointF(plot.left() + 3 * u, y - 2 * u), l.label,
                                       Qt::AlignLeft | Qt::AlignBottom)
                           : DrawLabel(painter, rightEnd, l.label, Qt::AlignRight | Qt::AlignBottom));
        }
    }
    for (const ChartMark &mark : chart.marks) {
        const QPointF p = toDevice(mark.point);
        if (!plot.contains(p))
            continue;
        painter.setPen(QPen(Qt::black, 1.6 * u));
        painter.setBrush(QColor(255, 255, 255));
        DrawMarker(painter, p, mark.marker, 11 * u);
        // Towards the middle of the plot, or else in the first other corner of the mark where
        // the label stays inside and clear of the labels drawn before it.
        const bool leftHalf = p.x() < plot.center().x();
        const bool upperHalf = p.y() < plot.center().y();
        QPointF offset;
        Qt::Alignment alignment;
        const auto place = [&](int corner) {
            const bool right = (corner & 1) ? !leftHalf : leftHalf;
            const bool below = (corner & 2) ? !upperHalf : upperHalf;
            offset = QPointF(right ? 9 * u : -9 * u, below ? 9 * u : -9 * u);
            alignment = (right ? Qt::AlignLeft : Qt::AlignRight) | (below ? Qt::AlignTop : Qt::AlignBottom);
            return LabelBox(painter, p + offset, mark.label, alignment);
        };
        int corner = 0;
        for (; corner < 4; ++corner) {
            const QRectF box = place(corner);
            const auto clashes = [&box](const QRectF &other) { return other.intersects(box); };
            if (plot.contains(box) && std::none_of(labels.begin(), labels.end(), clashes))
                break;
        }
        place(corner < 4 ? corner : 0);
        labels.push_back(DrawLabel(painter, p + offset, mark.label, alignment));
    }

    // Legend below the axis title, two columns.
    const double legendTop = plot.bottom() + 2 * line + 12 * u;
    const double columnWidth = plot.width() / 2;
    for (size_t s = 0; s < chart.series.size(); ++s) {
        const ChartSeries &series = chart.series[s];
        const double x = plot.left() + (s % 2) * columnWidth;
        const double y = legendTop + (s / 2) * (line + 2 * u) + line / 2;
        QPen legendPen = series.pen;
        legendPen.setWidthF(legendPen.widthF() * u);
        painter.setPen(legendPen);
        painter.drawLine(QPointF(x, y), QPointF(x + 34 * u, y));
        painter.setPen(QPen(series.pen.color(), 1.2 * u));
        painter.setBrush(Qt::white);
        DrawMarker(painter, QPointF(x + 17 * u, y), series.marker, 7 * u);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x + 40 * u, y - line / 2, columnWidth - 44 * u, line),
                         Qt::AlignLeft | Qt::AlignVCenter, series.name);
    }
    if (!chart.note.isEmpty()) {
        painter.setPen(Qt::black);
        painter.drawText(
            QRectF(area.left() + 8 * u, area.bottom() - line - 4 * u, area.width() - 16 * u, line),
            Qt::AlignLeft | Qt::AlignVCenter, chart.note);
    }
    painter.restore();
}

} // namespace plot
