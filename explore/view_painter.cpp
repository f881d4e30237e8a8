#include "view_painter.h"

#include "colour_scale.h"
#include "contour.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

QString metres(double value, const QLocale &locale)
{
    return Number(value, locale) + QStringLiteral(" m");
}

QString kw(double value, const QLocale &locale)
{
    return Number(value, locale) + QStringLiteral(" kW/m²");
}

double ceilTo(double value, double step)
{
    return std::max(step, std::ceil(value / step) * step);
}

} // namespace

QString Number(double value, const QLocale &locale, int decimals)
{
    if (!std::isfinite(value))
        return QStringLiteral("–");
    QString text = locale.toString(value, 'f', decimals);
    // Never a "-0,00".
    if (std::abs(value) < 0.5 * std::pow(10.0, -decimals))
        text = locale.toString(0.0, 'f', decimals);
    return text;
}

std::vector<double> PlanContourLevels()
{
    return {5, 10, 20, 30};
}

QPointF PlanLayout::toDevice(double x, double y) const
{
    return {map.left() + (x - worldLeft) * scale, map.bottom() - (y - worldBottom) * scale};
}

QPointF PlanLayout::toWorld(const QPointF &device) const
{
    return {worldLeft + (device.x() - map.left()) / scale, worldBottom + (map.bottom() - device.y()) / scale};
}

LineChart DistanceChart(const Exploration &exploration, const QLocale &locale)
{
    const ExplorationInput &input = exploration.input;
    const DistanceProfile &profile = exploration.distance;
    LineChart chart;
    chart.title =
        QStringLiteral("Warmtestralingsniveau tegen afstand (y = %1)").arg(metres(input.storage.y, locale));
    chart.xTitle = QStringLiteral("Afstand tot de opslag x (m)");
    chart.yTitle = QStringLiteral("Warmtestralingsniveau (kW/m²)");
    chart.xMin = 0;
    chart.xMax = profile.distances.empty() ? 20 : profile.distances.back();
    double highest = input.limitKw;
    for (double level : profile.highest)
        highest = std::max(highest, level);
    chart.yMax = ceilTo(highest * 1.05, 10);
    const double u = 1;
    for (size_t s = 0; s < profile.levels.size(); ++s) {
        ChartSeries series;
        series.name = input.storage.indoor
            ? QStringLiteral("beoordelingspunt op halve gebouwhoogte (%1)")
                  .arg(metres(profile.heights[s], locale))
            : QStringLiteral("punt %1 (%2)").arg(s + 1).arg(metres(profile.heights[s], locale));
        series.pen = plot::HeightSeriesPen(s, 1.6 * u);
        series.marker = plot::HeightSeriesMarker(s);
        for (size_t i = 0; i < profile.distances.size(); ++i)
            series.points.emplace_back(profile.distances[i], profile.levels[s][i]);
        chart.series.push_back(series);
    }
    if (!profile.envelope.empty()) {
        ChartSeries series;
        series.name = QStringLiteral("omhullende (hoogste over 0 m tot hoogste punt)");
        series.pen = plot::EnvelopePen();
        for (size_t i = 0; i < profile.distances.size(); ++i)
            series.points.emplace_back(profile.distances[i], profile.envelope[i]);
        chart.series.push_back(series);
    }
    chart.lines.push_back(
        plot::LimitLine(input.limitKw, false, QStringLiteral("L = %1").arg(kw(input.limitKw, locale))));
    chart.lines.push_back({input.storage.x, true,
                           QStringLiteral("x = %1").arg(metres(input.storage.x, locale)),
                           QPen(Qt::black, 1.2, Qt::DotLine)});
    if (input.screenActive())
        chart.lines.push_back({input.storage.xs, true, QStringLiteral("scherm"), QPen(Qt::darkGray, 2.5)});
    const engine::Solution &distance = exploration.answers.distance;
    if (exploration.hasAnswers && distance.ok() && distance.found) {
        plot::MarkLimitDistance(chart, distance.value, input.limitKw,
                                QStringLiteral("minimale afstand %1").arg(metres(distance.value, locale)));
    }
    return chart;
}

LineChart HeightChart(const Exploration &exploration, const QLocale &locale)
{
    const ExplorationInput &input = exploration.input;
    const HeightProfile &profile = exploration.height;
    LineChart chart;
    chart.title = QStringLiteral("Warmtestralingsniveau tegen hoogte (x = %1, y = %2)")
                      .arg(metres(input.storage.x, locale), metres(input.storage.y, locale));
    chart.xTitle = QStringLiteral("Warmtestralingsniveau (kW/m²)");
    chart.yTitle = QStringLiteral("Hoogte van het beoordelingspunt (m)");
    double highest = input.limitKw;
    for (double level : profile.levels)
        highest = std::max(highest, level);
    chart.xMax = ceilTo(highest * 1.1, 10);
    chart.yMax = profile.heights.empty() ? 10 : profile.heights.back();
    ChartSeries series;
    series.name = QStringLiteral("niveau op afstand x");
    series.pen = plot::HeightSeriesPen(0, 2);
    for (size_t i = 0; i < profile.heights.size(); ++i)
        series.points.emplace_back(profile.levels[i], profile.heights[i]);
    chart.series.push_back(series);
    chart.lines.push_back(
        plot::LimitLine(input.limitKw, true, QStringLiteral("L = %1").arg(kw(input.limitKw, locale))));
    chart.lines.push_back({input.storage.H, false,
                           QStringLiteral("bovenkant opslag H = %1").arg(metres(input.storage.H, locale)),
                           QPen(Qt::black, 1, Qt::DotLine)});
    if (!profile.levels.empty()) {
        chart.marks.push_back({QPointF(profile.worstLevel, profile.worstHeight),
                               QStringLiteral("hoogste: %1 op %2")
                                   .arg(kw(profile.worstLevel, locale), metres(profile.worstHeight, locale)),
                               Marker::Diamond});
    }
    if (input.storage.indoor)
        chart.note =
            QStringLiteral("Binnenopslag: één beoordelingspunt op halve gebouwhoogte; het niveau hangt "
                           "niet van de hoogte af.");
    else
        chart.note = QStringLiteral("Gemarkeerd: het hoogste niveau tot het hoogste beoordelingspunt (%1).")
                         .arg(metres(input.highestAssessmentHeight(), locale));
    return chart;
}

PlanLayout LayoutPlan(const QRectF &area, const Exploration &exploration, double unit)
{
    PlanLayout layout;
    const PlanExtent &extent = exploration.extent;
    const double titleHeight = 30 * unit;
    const double legendWidth = 90 * unit;
    const double scaleHeight = 40 * unit;
    const QRectF available(area.left() + 10 * unit, area.top() + titleHeight,
                           area.width() - legendWidth - 20 * unit, area.height() - titleHeight - scaleHeight);
    if (available.width() <= 10 || available.height() <= 10 || !(extent.xTo > extent.xFrom))
        return layout;
    layout.storageDepthShown = std::min(exploration.input.storage.D, 0.25 * extent.xTo);
    const double worldWidth = extent.xTo + layout.storageDepthShown;
    const double worldHeight = extent.yTo - extent.yFrom;
    layout.scale = std::min(available.width() / worldWidth, available.height() / worldHeight);
    const QSizeF size(worldWidth * layout.scale, worldHeight * layout.scale);
    layout.map =
        QRectF(available.left() + (available.width() - size.width()) / 2,
               available.top() + (available.height() - size.height()) / 2, size.width(), size.height());
    layout.worldLeft = -layout.storageDepthShown;
    layout.worldBottom = extent.yFrom;
    return layout;
}

namespace {

double planTop(const Exploration &exploration)
{
    return ceilTo(std::max(exploration.plan.highestValue, exploration.input.limitKw), 10);
}

void drawContours(QPainter &painter, const PlanLayout &layout, const Exploration &exploration,
                  const QLocale &locale, double u)
{
    std::vector<double> levels = PlanContourLevels();
    const double limit = exploration.input.limitKw;
    for (double level : levels) {
        if (std::abs(level - limit) < 1e-9)
            continue;
        for (const engine::ContourLine &line : engine::ContourLines(exploration.plan.grid, level)) {
            QPainterPath path;
            for (size_t i = 0; i < line.points.size(); ++i) {
                const QPointF p = layout.toDevice(line.points[i].x, line.points[i].y);
                i == 0 ? path.moveTo(p) : path.lineTo(p);
            }
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(QColor(255, 255, 255, 200), 2.6 * u));
            painter.drawPath(path);
            painter.setPen(QPen(Qt::black, 1.1 * u, Qt::DashLine));
            painter.drawPath(path);
            if (line.points.size() > 3) {
                // Farthest from the face, but off the line through the assessment point,
                // where the limit's label and the point's own label sit.
                const double pointY = exploration.input.storage.y;
                const double keepOff = 0.06 * (exploration.extent.yTo - exploration.extent.yFrom);
                const engine::ContourPoint *at = nullptr;
                for (const engine::ContourPoint &p : line.points) {
                    if (std::abs(p.y - pointY) > keepOff && (!at || p.x > at->x))
                        at = &p;
                }
                if (!at)
                    at = &line.points.front();
                QPointF anchor = layout.toDevice(at->x, at->y);
                anchor.setX(std::min(anchor.x(), layout.map.right() - 12 * u));
                DrawLabel(painter, anchor, Number(level, locale, 0), Qt::AlignHCenter | Qt::AlignVCenter);
            }
        }
    }
    // The limit last and boldest, labelled where it crosses farthest from the face.
    const auto lines = engine::ContourLines(exploration.plan.grid, limit);
    const engine::ContourPoint *labelAt = nullptr;
    for (const engine::ContourLine &line : lines) {
        QPainterPath path;
        for (size_t i = 0; i < line.points.size(); ++i) {
            const QPointF p = layout.toDevice(line.points[i].x, line.points[i].y);
            i == 0 ? path.moveTo(p) : path.lineTo(p);
            if (!labelAt || line.points[i].x > labelAt->x)
                labelAt = &line.points[i];
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 5.5 * u));
        painter.drawPath(path);
        painter.setPen(QPen(Qt::black, 3 * u));
        painter.drawPath(path);
    }
    if (labelAt) {
        QFont bold = painter.font();
        bold.setBold(true);
        painter.save();
        painter.setFont(bold);
        DrawLabel(
            painter, layout.toDevice(labelAt->x, labelAt->y) + QPointF(5 * u, -5 * u),
            QStringLiteral("L = %1 kW/m²").arg(Number(limit, locale, limit == std::round(limit) ? 0 : 1)),
            Qt::AlignLeft | Qt::AlignBottom);
        painter.restore();
    }
}

void drawLegend(QPainter &painter, const PlanLayout &layout, const Exploration &exploration,
                const QLocale &locale, double u)
{
    const double top = planTop(exploration);
    const QRectF bar(layout.map.right() + 22 * u, layout.map.top() + 18 * u, 16 * u,
                     layout.map.height() - 18 * u);
    QImage ramp(1, 256, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i)
        ramp.setPixel(0, 255 - i, ViridisColour(i / 255.0).rgb());
    painter.drawImage(bar, ramp);
    painter.setPen(QPen(Qt::black, 0.8 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    painter.drawText(QRectF(bar.left() - 10 * u, layout.map.top(), 80 * u, 16 * u), Qt::AlignLeft,
                     QStringLiteral("kW/m²"));
    const double step = TickStep(top, 5);
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (double v = 0; v <= top + 1e-9; v += step) {
        const double y = bar.bottom() - v / top * bar.height();
        painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4 * u, y));
        painter.drawText(QRectF(bar.right() + 6 * u, y - metrics.height() / 2, 50 * u, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, TickText(v, step, locale));
    }
    const double limit = exploration.input.limitKw;
    if (limit <= top) {
        const double y = bar.bottom() - limit / top * bar.height();
        painter.setPen(QPen(Qt::black, 3 * u));
        painter.drawLine(QPointF(bar.left() - 4 * u, y), QPointF(bar.right(), y));
    }
}

void drawScaleBar(QPainter &painter, const PlanLayout &layout, const QLocale &locale, double u)
{
    const double worldWidth = layout.map.width() / layout.scale;
    double length = TickStep(worldWidth * 0.25, 1);
    if (length * layout.scale > layout.map.width() * 0.4)
        length /= 2;
    const double left = layout.map.left();
    const double y = layout.map.bottom() + 14 * u;
    const double pixels = length * layout.scale;
    painter.setPen(QPen(Qt::black, 1 * u));
    for (int part = 0; part < 4; ++part) {
        painter.setBrush(part % 2 ? Qt::white : Qt::black);
        painter.drawRect(QRectF(left + part * pixels / 4, y, pixels / 4, 6 * u));
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QRectF(left - 20 * u, y + 8 * u, 40 * u, metrics.height()), Qt::AlignHCenter,
                     QStringLiteral("0"));
    painter.drawText(QRectF(left + pixels - 60 * u, y + 8 * u, 120 * u, metrics.height()), Qt::AlignHCenter,
                     QStringLiteral("%1 m").arg(TickText(length, length, locale)));
}

} // namespace

void PaintPlan(QPainter &painter, const QRectF &area, const Exploration &exploration, const QLocale &locale)
{
    const double u = DeviceUnit(painter);
    const QFont font = BeginView(painter, area);
    QFont titleFont = font;
    titleFont.setPointSizeF(11);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    QString title = exploration.input.envelope
        ? QStringLiteral("Plattegrond: hoogste niveau over de hoogtes tot het hoogste punt (omhullende)")
        : QStringLiteral("Plattegrond: hoogste niveau over de beoordelingspunten");
    if (exploration.input.storage.indoor)
        title = QStringLiteral("Plattegrond: niveau op halve gebouwhoogte");
    painter.drawText(QRectF(area.left(), area.top() + 4 * u, area.width(), 24 * u), Qt::AlignHCenter, title);
    painter.setFont(font);

    const PlanLayout layout = LayoutPlan(area, exploration, u);
    const PlanMap &plan = exploration.plan;
    if (!layout.valid()) {
        painter.restore();
        return;
    }
    painter.save();
    painter.setClipRect(layout.map);
    painter.fillRect(layout.map, QColor(240, 240, 240));
    if (plan.resolution > 1) {
        const engine::ScalarGrid &grid = plan.grid;
        const double top = planTop(exploration);
        QImage image(grid.nx, grid.ny, QImage::Format_RGB32);
        for (int j = 0; j < grid.ny; ++j) {
            QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(grid.ny - 1 - j));
            for (int i = 0; i < grid.nx; ++i)
                row[i] = ViridisColour(grid.value(i, j) / top).rgb();
        }
        const QPointF topLeft = layout.toDevice(grid.x0 - grid.dx / 2, grid.y0 + (grid.ny - 0.5) * grid.dy);
        const QPointF bottomRight =
            layout.toDevice(grid.x0 + (grid.nx - 0.5) * grid.dx, grid.y0 - grid.dy / 2);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(topLeft, bottomRight), image);
        drawContours(painter, layout, exploration, locale, u);
    }
    // The storage, cut off at a quarter of the view when it is deeper.
    const engine::CalculationInput &storage = exploration.input.storage;
    const QRectF storageRect(layout.toDevice(-layout.storageDepthShown, storage.B), layout.toDevice(0, 0));
    painter.setPen(QPen(Qt::black, 1.5 * u));
    painter.setBrush(QBrush(QColor(120, 120, 120), Qt::BDiagPattern));
    painter.drawRect(storageRect);
    painter.setClipping(false);
    DrawLabel(painter,
              QPointF(layout.map.left() + 4 * u,
                      std::clamp(storageRect.center().y(), layout.map.top() + 12 * u,
                                 layout.map.bottom() - 12 * u)),
              storage.indoor ? QStringLiteral("gebouw") : QStringLiteral("opslag"),
              Qt::AlignLeft | Qt::AlignVCenter);
    painter.setClipRect(layout.map);
    if (exploration.input.screenActive()) {
        painter.setPen(QPen(QColor(40, 40, 40), 4 * u, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(layout.toDevice(storage.xs, 0), layout.toDevice(storage.xs, storage.B));
        painter.setClipping(false);
        DrawLabel(
            painter,
            layout.toDevice(storage.xs, std::min(storage.B, exploration.extent.yTo)) + QPointF(4 * u, 2 * u),
            QStringLiteral("scherm (hs = %1)").arg(metres(storage.hs, locale)), Qt::AlignLeft | Qt::AlignTop);
        painter.setClipRect(layout.map);
    }
    const QPointF point = layout.toDevice(storage.x, storage.y);
    if (layout.map.contains(point)) {
        painter.setBrush(Qt::white);
        painter.setPen(QPen(Qt::black, 1.6 * u));
        DrawMarker(painter, point, Marker::Circle, 12 * u);
        DrawMarker(painter, point, Marker::Cross, 8 * u);
        painter.setClipping(false);
        DrawLabel(painter, point + QPointF(8 * u, 8 * u), QStringLiteral("beoordelingspunt"),
                  Qt::AlignLeft | Qt::AlignTop);
    }
    painter.restore();
    painter.setPen(QPen(Qt::black, 1 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.map);
    drawLegend(painter, layout, exploration, locale, u);
    drawScaleBar(painter, layout, locale, u);
    painter.restore();
}

void PaintView(QPainter &painter, const QRectF &area, ViewKind kind, const Exploration &exploration,
               const QLocale &locale)
{
    switch (kind) {
    case ViewKind::Distance:
        PaintLineChart(painter, area, DistanceChart(exploration, locale), locale);
        return;
    case ViewKind::Height:
        PaintLineChart(painter, area, HeightChart(exploration, locale), locale);
        return;
    case ViewKind::Plan:
        PaintPlan(painter, area, exploration, locale);
        return;
    }
}

} // namespace explore
