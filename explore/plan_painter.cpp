#include "plan_painter.h"

#include "colour_scale.h"
#include "contour.h"
#include "view_painter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>

namespace explore {
namespace {

using plot::ChartColours;
using plot::PainterState;

// Distances in pixels of a 96 dpi screen (times the device unit).
constexpr double kTitleHeight = 30; // above the map
constexpr double kLegendWidth = 90; // right of the map: the colour bar and its ticks
constexpr double kScaleHeight = 40; // below the map: the scale bar
constexpr double kSide = 10;        // left of the map
constexpr double kPointSymbol = 12; // the assessment point's circle
constexpr double kPointCross = 8;
constexpr double kPointClearance = 3; // around the point's symbol, kept free of labels
constexpr double kLimitLabelOffset = 5;
constexpr double kLabelMargin = 2;            // labels from the map's edge
constexpr std::size_t kLabelCandidates = 240; // places tried along one contour line
constexpr double kBarGap = 22;                // from the map to the colour bar
constexpr double kBarWidth = 16;
constexpr double kBarTop = 18; // room above the bar for its unit
constexpr double kContourHalo = 2.6;
constexpr double kContourWidth = 1.1;
constexpr double kLimitHalo = 5.5;
constexpr double kLimitWidth = 3;
constexpr double kScreenWidth = 4;
constexpr double kScreenHalo = 7;
// The storage is shown at most this share of the view deep.
constexpr double kStorageShare = 0.25;

QString metres(double value, const QLocale &locale)
{
    return Number(value, locale) + QStringLiteral(" m");
}

double planTop(const Exploration &exploration)
{
    return std::max(10.0,
                    std::ceil(std::max(exploration.plan.highestValue, exploration.input.limitKw) / 10) * 10);
}

struct Contour
{
    double level = 0;
    std::vector<engine::ContourLine> lines;
};

// The contours drawn: the levels of PlanContourLevels, then the limit (always last).
std::vector<Contour> planContours(const Exploration &exploration)
{
    std::vector<Contour> contours;
    if (exploration.plan.resolution < 2)
        return contours;
    const double limit = exploration.input.limitKw;
    for (double level : PlanContourLevels()) {
        if (std::abs(level - limit) > 1e-9)
            contours.push_back({level, engine::ContourLines(exploration.plan.grid, level)});
    }
    contours.push_back({limit, engine::ContourLines(exploration.plan.grid, limit)});
    return contours;
}

QString limitText(double limit, const QLocale &locale)
{
    return QStringLiteral("L = %1 kW/m²").arg(Number(limit, locale, limit == std::round(limit) ? 0 : 1));
}

// Places labels one by one, each at the first of its candidate boxes that lies inside
// the map and clear of everything placed before.
class LabelPlacer
{
public:
    LabelPlacer(const QRectF &bounds, const QFontMetricsF &text, const QFontMetricsF &bold, double unit)
        : m_bounds(bounds)
        , m_text(text)
        , m_bold(bold)
        , m_unit(unit)
    { }

    void reserve(const QRectF &box) { m_taken.push_back(box); }

    // Many places are tried for one text: its size is measured once.
    QRectF box(const QPointF &anchor, const QString &text, Qt::Alignment alignment, bool bold)
    {
        const auto key = std::make_pair(text, bold);
        auto found = m_sizes.find(key);
        if (found == m_sizes.end())
            found = m_sizes.emplace(key, plot::LabelSize(bold ? m_bold : m_text, m_unit, text)).first;
        return plot::AlignedBox(anchor, found->second, alignment);
    }

    // The first free box of `candidates`, a little room around it; false when none is free.
    bool place(const std::vector<QRectF> &candidates, const QString &text, bool bold)
    {
        const double room = kLabelMargin * m_unit;
        for (const QRectF &candidate : candidates) {
            const QRectF padded = candidate.adjusted(-room, -room, room, room);
            const bool free = std::none_of(m_taken.begin(), m_taken.end(),
                                           [&](const QRectF &other) { return other.intersects(padded); });
            if (free && m_bounds.contains(candidate)) {
                m_taken.push_back(candidate);
                m_labels.push_back({candidate, text, bold});
                return true;
            }
        }
        return false;
    }

    std::vector<PlanLabel> labels() const { return m_labels; }

private:
    QRectF m_bounds;
    QFontMetricsF m_text;
    QFontMetricsF m_bold;
    double m_unit;
    std::vector<QRectF> m_taken;
    std::vector<PlanLabel> m_labels;
    std::map<std::pair<QString, bool>, QSizeF> m_sizes;
};

// The points of a contour, farthest from the face first: a level's label sits where the
// level reaches out furthest, or as near to there as is free.
std::vector<engine::ContourPoint> farthestFirst(const std::vector<engine::ContourLine> &lines)
{
    std::vector<engine::ContourPoint> points;
    for (const engine::ContourLine &line : lines) {
        const std::size_t every = std::max<std::size_t>(1, line.points.size() / kLabelCandidates);
        for (std::size_t i = 0; i < line.points.size(); i += every)
            points.push_back(line.points[i]);
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const engine::ContourPoint &a, const engine::ContourPoint &b) { return a.x > b.x; });
    return points;
}

void placeFixedLabels(LabelPlacer &placer, const PlanLayout &layout, const Exploration &exploration,
                      const QLocale &locale, double u)
{
    const engine::CalculationInput &storage = exploration.input.storage;
    const QRectF storageRect(layout.toDevice(-layout.storageDepthShown, storage.B), layout.toDevice(0, 0));
    const double y =
        std::clamp(storageRect.center().y(), layout.map.top() + 12 * u, layout.map.bottom() - 12 * u);
    const QString name = storage.indoor ? QStringLiteral("gebouw") : QStringLiteral("opslag");
    const QPointF left(layout.map.left() + 4 * u, y);
    placer.place({placer.box(left, name, Qt::AlignLeft | Qt::AlignVCenter, false)}, name, false);
    if (exploration.input.screenActive()) {
        const QString screen = QStringLiteral("scherm (hs = %1)").arg(metres(storage.hs, locale));
        const QPointF top = layout.toDevice(storage.xs, std::min(storage.B, exploration.extent.yTo));
        const QPointF bottom = layout.toDevice(storage.xs, std::max(0.0, exploration.extent.yFrom));
        placer.place(
            {placer.box(top + QPointF(4 * u, 2 * u), screen, Qt::AlignLeft | Qt::AlignTop, false),
             placer.box(bottom + QPointF(4 * u, -2 * u), screen, Qt::AlignLeft | Qt::AlignBottom, false)},
            screen, false);
    }
}

void placeContourLabels(LabelPlacer &placer, const PlanLayout &layout, const std::vector<Contour> &contours,
                        double limit, const QLocale &locale, double u)
{
    // The limit first: its label matters most.
    std::vector<const Contour *> order;
    for (const Contour &contour : contours)
        order.insert(std::abs(contour.level - limit) < 1e-9 ? order.begin() : order.end(), &contour);
    for (const Contour *contour : order) {
        const bool isLimit = std::abs(contour->level - limit) < 1e-9;
        const QString text = isLimit ? limitText(limit, locale) : Number(contour->level, locale, 0);
        std::vector<QRectF> candidates;
        for (const engine::ContourPoint &p : farthestFirst(contour->lines)) {
            const QPointF at = layout.toDevice(p.x, p.y);
            if (isLimit) {
                const double d = kLimitLabelOffset * u;
                candidates.push_back(
                    placer.box(at + QPointF(d, -d), text, Qt::AlignLeft | Qt::AlignBottom, true));
                candidates.push_back(
                    placer.box(at + QPointF(d, d), text, Qt::AlignLeft | Qt::AlignTop, true));
            } else {
                candidates.push_back(placer.box(at, text, Qt::AlignCenter, false));
            }
        }
        placer.place(candidates, text, isLimit);
    }
}

PlanLabels layOutLabels(const PlanLayout &layout, const Exploration &exploration,
                        const std::vector<Contour> &contours, const QPaintDevice *device, const QFont &font,
                        const QLocale &locale)
{
    const double u = plot::DeviceUnit(device);
    QFont bold = font;
    bold.setBold(true);
    const QRectF bounds =
        layout.map.adjusted(kLabelMargin * u, kLabelMargin * u, -kLabelMargin * u, -kLabelMargin * u);
    LabelPlacer placer(bounds, QFontMetricsF(font, device), QFontMetricsF(bold, device), u);
    PlanLabels result;
    const QPointF point = layout.toDevice(exploration.input.storage.x, exploration.input.storage.y);
    if (layout.map.contains(point)) {
        const double r = kPointSymbol * u / 2 + kPointClearance * u;
        result.pointSymbol = QRectF(point - QPointF(r, r), point + QPointF(r, r));
        placer.reserve(result.pointSymbol);
    }
    placeFixedLabels(placer, layout, exploration, locale, u);
    if (!result.pointSymbol.isEmpty()) {
        const QString name = QStringLiteral("beoordelingspunt");
        const double d = result.pointSymbol.width() / 2 + kLabelMargin * u;
        std::vector<QRectF> candidates {
            placer.box(point + QPointF(d, d), name, Qt::AlignLeft | Qt::AlignTop, false),
            placer.box(point + QPointF(d, -d), name, Qt::AlignLeft | Qt::AlignBottom, false),
            placer.box(point + QPointF(-d, d), name, Qt::AlignRight | Qt::AlignTop, false),
            placer.box(point + QPointF(-d, -d), name, Qt::AlignRight | Qt::AlignBottom, false)};
        // Below or above the point, moved sideways into the map, where the sides are too narrow.
        for (const double side : {d, -d}) {
            QRectF box = placer.box(point + QPointF(0, side), name,
                                    Qt::AlignHCenter | (side > 0 ? Qt::AlignTop : Qt::AlignBottom), false);
            box.moveLeft(
                std::clamp(box.left(), bounds.left(), std::max(bounds.left(), bounds.right() - box.width())));
            candidates.push_back(box);
        }
        placer.place(candidates, name, false);
    }
    placeContourLabels(placer, layout, contours, exploration.input.limitKw, locale, u);
    result.labels = placer.labels();
    return result;
}

QPainterPath contourPath(const PlanLayout &layout, const engine::ContourLine &line)
{
    QPainterPath path;
    for (std::size_t i = 0; i < line.points.size(); ++i) {
        const QPointF p = layout.toDevice(line.points[i].x, line.points[i].y);
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    return path;
}

// Each line twice: a light halo, then the line, so that it shows on every colour of the
// map. The limit's is the boldest.
void drawContours(QPainter &painter, const PlanLayout &layout, const std::vector<Contour> &contours,
                  double limit, double u)
{
    painter.setBrush(Qt::NoBrush);
    for (const Contour &contour : contours) {
        const bool isLimit = std::abs(contour.level - limit) < 1e-9;
        for (const engine::ContourLine &line : contour.lines) {
            const QPainterPath path = contourPath(layout, line);
            painter.setPen(isLimit ? QPen(Qt::white, kLimitHalo * u)
                                   : QPen(QColor(255, 255, 255, 200), kContourHalo * u));
            painter.drawPath(path);
            painter.setPen(isLimit ? QPen(Qt::black, kLimitWidth * u)
                                   : QPen(Qt::black, kContourWidth * u, Qt::DashLine));
            painter.drawPath(path);
        }
    }
}

void drawLevels(QPainter &painter, const PlanLayout &layout, const Exploration &exploration)
{
    const engine::ScalarGrid &grid = exploration.plan.grid;
    const double top = planTop(exploration);
    QImage image(grid.nx, grid.ny, QImage::Format_RGB32);
    for (int j = 0; j < grid.ny; ++j) {
        QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(grid.ny - 1 - j));
        for (int i = 0; i < grid.nx; ++i)
            row[i] = ViridisColour(grid.value(i, j) / top).rgb();
    }
    const QPointF topLeft = layout.toDevice(grid.x0 - grid.dx / 2, grid.y0 + (grid.ny - 0.5) * grid.dy);
    const QPointF bottomRight = layout.toDevice(grid.x0 + (grid.nx - 0.5) * grid.dx, grid.y0 - grid.dy / 2);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(topLeft, bottomRight), image);
}

// The storage (cut off at a quarter of the view when it is deeper), the screen and the
// assessment point's symbol.
void drawObjects(QPainter &painter, const PlanLayout &layout, const Exploration &exploration,
                 const PlanLabels &labels, const ChartColours &colours, double u)
{
    const engine::CalculationInput &storage = exploration.input.storage;
    const QRectF storageRect(layout.toDevice(-layout.storageDepthShown, storage.B), layout.toDevice(0, 0));
    painter.setPen(QPen(colours.ink, 1.5 * u));
    painter.setBrush(QBrush(colours.muted, Qt::BDiagPattern));
    painter.drawRect(storageRect);
    if (exploration.input.screenActive()) {
        const QPointF from = layout.toDevice(storage.xs, 0);
        const QPointF to = layout.toDevice(storage.xs, storage.B);
        painter.setPen(QPen(colours.paper, kScreenHalo * u, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, to);
        painter.setPen(QPen(colours.ink, kScreenWidth * u, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(from, to);
    }
    if (!labels.pointSymbol.isEmpty()) {
        const QPointF point = labels.pointSymbol.center();
        painter.setBrush(colours.paper);
        painter.setPen(QPen(colours.ink, 1.6 * u));
        plot::DrawMarker(painter, point, plot::Marker::Circle, kPointSymbol * u);
        plot::DrawMarker(painter, point, plot::Marker::Cross, kPointCross * u);
    }
}

void drawLabels(QPainter &painter, const PlanLabels &labels, const QFont &font, const ChartColours &colours)
{
    const PainterState state(painter);
    QFont bold = font;
    bold.setBold(true);
    for (const PlanLabel &label : labels.labels) {
        painter.setFont(label.bold ? bold : font);
        plot::DrawLabelIn(painter, label.box, label.text, colours);
    }
}

void drawTitle(QPainter &painter, const QRectF &area, const Exploration &exploration,
               const ChartColours &colours, double u)
{
    const PainterState state(painter);
    painter.setFont(plot::TitleFont(painter.font()));
    painter.setPen(colours.ink);
    QString title = exploration.input.envelope
        ? QStringLiteral("Plattegrond: hoogste niveau over de hoogtes tot het hoogste punt (omhullende)")
        : QStringLiteral("Plattegrond: hoogste niveau over de beoordelingspunten");
    if (exploration.input.storage.indoor)
        title = QStringLiteral("Plattegrond: niveau op halve gebouwhoogte");
    painter.drawText(
        QRectF(area.left(), area.top() + 4 * u, area.width(), 24 * u), Qt::AlignHCenter,
        QFontMetricsF(painter.font(), painter.device()).elidedText(title, Qt::ElideRight, area.width()));
}

void drawLegend(QPainter &painter, const PlanLayout &layout, const Exploration &exploration,
                const QLocale &locale, const ChartColours &colours, double u)
{
    const double top = planTop(exploration);
    const QRectF bar(layout.map.right() + kBarGap * u, layout.map.top() + kBarTop * u, kBarWidth * u,
                     layout.map.height() - kBarTop * u);
    QImage ramp(1, 256, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i)
        ramp.setPixel(0, 255 - i, ViridisColour(i / 255.0).rgb());
    painter.drawImage(bar, ramp);
    painter.setPen(QPen(colours.ink, 0.8 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar);
    painter.drawText(QRectF(bar.left() - 10 * u, layout.map.top(), 80 * u, 16 * u), Qt::AlignLeft,
                     QStringLiteral("kW/m²"));
    const double step = plot::TickStep(top, 5);
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (double v = 0; v <= top + 1e-9; v += step) {
        const double y = bar.bottom() - v / top * bar.height();
        painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4 * u, y));
        painter.drawText(QRectF(bar.right() + 6 * u, y - metrics.height() / 2, 50 * u, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, plot::TickText(v, step, locale));
    }
    const double limit = exploration.input.limitKw;
    if (limit <= top) {
        const double y = bar.bottom() - limit / top * bar.height();
        painter.setPen(QPen(colours.ink, 3 * u));
        painter.drawLine(QPointF(bar.left() - 4 * u, y), QPointF(bar.right(), y));
    }
}

void drawScaleBar(QPainter &painter, const PlanLayout &layout, const QLocale &locale,
                  const ChartColours &colours, double u)
{
    const double worldWidth = layout.map.width() / layout.scale;
    double length = plot::TickStep(worldWidth * 0.25, 1);
    if (length * layout.scale > layout.map.width() * 0.4)
        length /= 2;
    const double left = layout.map.left();
    const double y = layout.map.bottom() + 14 * u;
    const double pixels = length * layout.scale;
    painter.setPen(QPen(colours.ink, 1 * u));
    for (int part = 0; part < 4; ++part) {
        painter.setBrush(part % 2 ? colours.paper : colours.ink);
        painter.drawRect(QRectF(left + part * pixels / 4, y, pixels / 4, 6 * u));
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QRectF(left - 20 * u, y + 8 * u, 40 * u, metrics.height()), Qt::AlignHCenter,
                     QStringLiteral("0"));
    painter.drawText(QRectF(left + pixels - 60 * u, y + 8 * u, 120 * u, metrics.height()), Qt::AlignHCenter,
                     QStringLiteral("%1 m").arg(plot::TickText(length, length, locale)));
}

} // namespace

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

PlanLayout LayoutPlan(const QRectF &area, const Exploration &exploration, double unit)
{
    PlanLayout layout;
    const PlanExtent &extent = exploration.extent;
    const QRectF available(area.left() + kSide * unit, area.top() + kTitleHeight * unit,
                           area.width() - (kLegendWidth + 2 * kSide) * unit,
                           area.height() - (kTitleHeight + kScaleHeight) * unit);
    if (available.width() <= 10 || available.height() <= 10 || !(extent.xTo > extent.xFrom))
        return layout;
    layout.storageDepthShown = std::min(exploration.input.storage.D, kStorageShare * extent.xTo);
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

PlanLabels LayoutPlanLabels(const PlanLayout &layout, const Exploration &exploration,
                            const QPaintDevice *device, const QFont &font, const QLocale &locale)
{
    return layOutLabels(layout, exploration, planContours(exploration), device, font, locale);
}

void PaintPlan(QPainter &painter, const QRectF &area, const Exploration &exploration, const QLocale &locale,
               const ChartColours &colours)
{
    const plot::ViewScope view(painter, area, colours);
    const double u = plot::DeviceUnit(painter);
    drawTitle(painter, area, exploration, colours, u);
    const PlanLayout layout = LayoutPlan(area, exploration, u);
    if (!layout.valid())
        return;
    const std::vector<Contour> contours = planContours(exploration);
    const PlanLabels labels =
        layOutLabels(layout, exploration, contours, painter.device(), view.font(), locale);
    {
        const PainterState clipped(painter);
        painter.setClipRect(layout.map);
        painter.fillRect(layout.map, colours.ground);
        if (exploration.plan.resolution > 1) {
            drawLevels(painter, layout, exploration);
            drawContours(painter, layout, contours, exploration.input.limitKw, u);
        }
        drawObjects(painter, layout, exploration, labels, colours, u);
    }
    drawLabels(painter, labels, view.font(), colours);
    painter.setPen(QPen(colours.ink, 1 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(layout.map);
    drawLegend(painter, layout, exploration, locale, colours, u);
    drawScaleBar(painter, layout, locale, colours, u);
}

} // namespace explore
