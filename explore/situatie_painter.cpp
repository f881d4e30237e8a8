#include "situatie_painter.h"

#include "colour_scale.h"
#include "situatie_overlays.h"
#include "situatie_texts.h"
#include "view_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

using plot::ChartColours;
using plot::PainterState;

// Distances in pixels of a 96 dpi screen (times the device unit).
constexpr double kTitleHeight = 30;
constexpr double kContourHalo = 2.6;
constexpr double kContourWidth = 1.1;
constexpr double kLimitHalo = 5.5;
constexpr double kLimitWidth = 3;
constexpr double kBoundaryHalo = 6.5;
constexpr double kBoundaryWidth = 4;
constexpr double kReceiverSymbol = 12;
constexpr double kHighestSymbol = 16;
constexpr double kFaceNumberInset = 9;
constexpr double kHandleDistance = 26;
constexpr double kHandleSize = 10;
constexpr double kLabelRoom = 2;
constexpr std::size_t kContourLabelTries = 120; // places tried along one level's lines
// The colour map over an underlay lets the drawing show through.
constexpr double kMapOverUnderlay = 0.55;

const QColor kSelection(0, 120, 215);

QColor verdictInk(bool complies, const ChartColours &colours)
{
    const bool lightPaper = colours.labelPaper.lightnessF() > 0.5;
    if (complies)
        return lightPaper ? QColor(0, 110, 40) : QColor(120, 230, 140);
    return lightPaper ? QColor(185, 0, 0) : QColor(255, 130, 120);
}

QColor verdictFill(bool complies)
{
    return complies ? QColor(30, 160, 70) : QColor(215, 25, 25);
}

// Places labels one by one, each at the first of its candidate boxes that lies inside the
// map and clear of everything placed before.
class LabelPlacer
{
public:
    LabelPlacer(const QRectF &bounds, double unit)
        : m_bounds(bounds)
        , m_unit(unit)
    { }

    void reserve(const QRectF &box) { m_taken.push_back(box); }

    bool free(const QRectF &box) const
    {
        const double room = kLabelRoom * m_unit;
        const QRectF padded = box.adjusted(-room, -room, room, room);
        return m_bounds.contains(box)
            && std::none_of(m_taken.begin(), m_taken.end(),
                            [&](const QRectF &other) { return other.intersects(padded); });
    }

    // The first free box of `candidates`; an empty box when none is.
    QRectF place(const std::vector<QRectF> &candidates)
    {
        for (const QRectF &candidate : candidates) {
            if (free(candidate)) {
                m_taken.push_back(candidate);
                return candidate;
            }
        }
        return {};
    }

private:
    QRectF m_bounds;
    double m_unit;
    std::vector<QRectF> m_taken;
};

// A label's box for text of one or more lines.
QSizeF labelSize(const QFontMetricsF &metrics, double unit, const QString &text)
{
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, 4000, 4000), Qt::AlignLeft | Qt::AlignTop, text);
    return {bounds.width() + 6 * unit, bounds.height() + 2 * unit};
}

void drawLabel(QPainter &painter, const QRectF &box, const QString &text, const ChartColours &colours,
               const QColor &ink)
{
    ChartColours own = colours;
    own.ink = ink;
    plot::DrawLabelIn(painter, box, text, own);
}

// Candidates around a symbol: right, left, below, above.
std::vector<QRectF> around(const QPointF &at, double gap, const QSizeF &size)
{
    return {plot::AlignedBox(at + QPointF(gap, 0), size, Qt::AlignLeft | Qt::AlignVCenter),
            plot::AlignedBox(at - QPointF(gap, 0), size, Qt::AlignRight | Qt::AlignVCenter),
            plot::AlignedBox(at + QPointF(0, gap), size, Qt::AlignHCenter | Qt::AlignTop),
            plot::AlignedBox(at - QPointF(0, gap), size, Qt::AlignHCenter | Qt::AlignBottom),
            plot::AlignedBox(at + QPointF(gap, gap), size, Qt::AlignLeft | Qt::AlignTop),
            plot::AlignedBox(at + QPointF(-gap, -gap), size, Qt::AlignRight | Qt::AlignBottom)};
}

QPolygonF storagePolygon(const SituatieViewport &viewport, const engine::SiteStorage &storage)
{
    QPolygonF polygon;
    for (engine::SitePoint corner : engine::StorageCorners(storage))
        polygon << viewport.toDevice(corner);
    return polygon;
}

QPainterPath linePath(const SituatieViewport &viewport, const std::vector<engine::ContourPoint> &points)
{
    QPainterPath path;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF p = viewport.toDevice({points[i].x, points[i].y});
        i == 0 ? path.moveTo(p) : path.lineTo(p);
    }
    return path;
}

void drawMap(QPainter &painter, const SituatieViewport &viewport, const SituatieMap &map, bool overUnderlay)
{
    const engine::ScalarGrid &grid = map.levels;
    if (grid.nx < 2 || grid.ny < 2 || map.colours.isNull())
        return;
    const PainterState state(painter);
    const QPointF topLeft = viewport.toDevice({grid.x0 - grid.dx / 2, grid.y0 + (grid.ny - 0.5) * grid.dy});
    const QPointF bottomRight =
        viewport.toDevice({grid.x0 + (grid.nx - 0.5) * grid.dx, grid.y0 - grid.dy / 2});
    painter.setOpacity(overUnderlay ? kMapOverUnderlay : 1.0);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(topLeft, bottomRight), map.colours);
}

void drawContours(QPainter &painter, const SituatieViewport &viewport, const SituatieMap &map, double u)
{
    const PainterState state(painter);
    painter.setBrush(Qt::NoBrush);
    for (const SituatieContour &contour : map.contours) {
        for (const engine::ContourLine &line : contour.lines) {
            const QPainterPath path = linePath(viewport, line.points);
            painter.setPen(contour.limit ? QPen(Qt::white, kLimitHalo * u)
                                         : QPen(QColor(255, 255, 255, 200), kContourHalo * u));
            painter.drawPath(path);
            painter.setPen(contour.limit ? QPen(Qt::black, kLimitWidth * u)
                                         : QPen(Qt::black, kContourWidth * u, Qt::DashLine));
            painter.drawPath(path);
        }
    }
}

void drawContourLabels(QPainter &painter, LabelPlacer &placer, const SituatieViewport &viewport,
                       const SituatieMap &map, const QLocale &locale, const ChartColours &colours, double u)
{
    const PainterState state(painter);
    QFont bold = painter.font();
    bold.setBold(true);
    // The limit first: its label matters most.
    std::vector<const SituatieContour *> order;
    for (const SituatieContour &contour : map.contours)
        order.insert(contour.limit ? order.begin() : order.end(), &contour);
    for (const SituatieContour *contour : order) {
        const double level = contour->levelKw;
        const QString text = contour->limit
            ? QStringLiteral("L = %1 kW/m²").arg(Number(level, locale, level == std::round(level) ? 0 : 1))
            : Number(level, locale, 0);
        const QFont font = contour->limit ? bold : painter.font();
        const QSizeF size = labelSize(QFontMetricsF(font, painter.device()), u, text);
        std::vector<QRectF> candidates;
        for (const engine::ContourLine &line : contour->lines) {
            const std::size_t every = std::max<std::size_t>(1, line.points.size() / kContourLabelTries);
            for (std::size_t i = every / 2; i < line.points.size(); i += every) {
                const QPointF at = viewport.toDevice({line.points[i].x, line.points[i].y});
                candidates.push_back(plot::AlignedBox(at, size, Qt::AlignCenter));
            }
        }
        const QRectF box = placer.place(candidates);
        if (box.isEmpty())
            continue;
        painter.setFont(font);
        drawLabel(painter, box, text, colours, colours.ink);
    }
}

void drawBoundary(QPainter &painter, const SituatieViewport &viewport, const SituatieScene &scene,
                  const ChartColours &colours, double u)
{
    const engine::Site &site = scene.state->site;
    const PainterState state(painter);
    painter.setBrush(Qt::NoBrush);
    const bool coloured =
        scene.result && scene.result->hasCheck && scene.result->boundary.size() == site.boundary.size();
    for (std::size_t k = 0; k < site.boundary.size(); ++k) {
        QPolygonF polyline;
        for (engine::SitePoint p : site.boundary[k])
            polyline << viewport.toDevice(p);
        const bool selected =
            scene.selection.kind == SelectionKind::Boundary && scene.selection.index == int(k);
        painter.setPen(QPen(selected ? kSelection : colours.ink,
                            (selected ? kBoundaryHalo + 3 : kBoundaryHalo) * u, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawPolyline(polyline);
        if (!coloured) {
            painter.setPen(QPen(colours.paper, kBoundaryWidth * u, Qt::DashLine, Qt::FlatCap, Qt::RoundJoin));
            painter.drawPolyline(polyline);
        } else {
            const BoundaryLevels &levels = scene.result->boundary[k];
            for (std::size_t i = 1; i < levels.points.size(); ++i) {
                const double level = std::max(levels.levelsKw[i - 1], levels.levelsKw[i]);
                painter.setPen(QPen(std::isfinite(level) ? BoundaryColour(level, site.limit) : colours.muted,
                                    kBoundaryWidth * u, Qt::SolidLine, Qt::RoundCap));
                painter.drawLine(viewport.toDevice(levels.points[i - 1]),
                                 viewport.toDevice(levels.points[i]));
            }
        }
        if (selected) {
            painter.setPen(QPen(kSelection, 1.5 * u));
            painter.setBrush(colours.paper);
            for (const QPointF &p : polyline)
                painter.drawRect(QRectF(p - QPointF(4 * u, 4 * u), QSizeF(8 * u, 8 * u)));
            painter.setBrush(Qt::NoBrush);
        }
    }
}

void drawStorages(QPainter &painter, LabelPlacer &placer, const SituatieViewport &viewport,
                  const SituatieScene &scene, const ChartColours &colours, double u)
{
    const engine::Site &site = scene.state->site;
    const PainterState state(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (std::size_t s = 0; s < site.storages.size(); ++s) {
        const engine::SiteStorage &storage = site.storages[s];
        const QPolygonF polygon = storagePolygon(viewport, storage);
        const bool selected =
            scene.selection.kind == SelectionKind::Storage && scene.selection.index == int(s);
        QColor fill = colours.paper;
        fill.setAlpha(220);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawPolygon(polygon);
        painter.setBrush(QBrush(colours.muted, storage.indoor ? Qt::Dense6Pattern : Qt::BDiagPattern));
        painter.setPen(QPen(selected ? kSelection : colours.ink, (selected ? 3 : 1.5) * u));
        painter.drawPolygon(polygon);
        // Screens: a thick line in front of their face.
        for (const engine::FaceScreen &screen : storage.screens) {
            const engine::StorageFace face = engine::FaceOf(storage, screen.face);
            const engine::SitePoint from {face.from.x + face.normal.x * screen.xs,
                                          face.from.y + face.normal.y * screen.xs};
            const engine::SitePoint to {face.to.x + face.normal.x * screen.xs,
                                        face.to.y + face.normal.y * screen.xs};
            painter.setPen(QPen(colours.paper, 7 * u, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(viewport.toDevice(from), viewport.toDevice(to));
            painter.setPen(QPen(colours.ink, 4 * u, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(viewport.toDevice(from), viewport.toDevice(to));
        }
        const QRectF bounds = polygon.boundingRect();
        placer.reserve(bounds);
        // Face numbers inside the rectangle, beside each face's middle, where there is room.
        const double shortest = std::min(storage.width, storage.depth) * viewport.scale;
        if (shortest > 3 * kFaceNumberInset * u) {
            painter.setPen(colours.ink);
            for (int k = 1; k <= 4; ++k) {
                const engine::StorageFace face = engine::FaceOf(storage, k);
                const QPointF middle =
                    viewport.toDevice({(face.from.x + face.to.x) / 2, (face.from.y + face.to.y) / 2});
                const QPointF inward(-face.normal.x, face.normal.y);
                const QPointF at = middle + inward * (kFaceNumberInset * u);
                const QSizeF size(metrics.horizontalAdvance(QStringLiteral("4")) + 4 * u, metrics.height());
                painter.drawText(plot::AlignedBox(at, size, Qt::AlignCenter), Qt::AlignCenter,
                                 QString::number(k));
            }
        }
        if (selected && scene.handles) {
            const QPointF handle = RotationHandle(viewport, storage, u);
            const engine::StorageFace top = engine::FaceOf(storage, 3);
            const QPointF middle =
                viewport.toDevice({(top.from.x + top.to.x) / 2, (top.from.y + top.to.y) / 2});
            painter.setPen(QPen(kSelection, 1.5 * u));
            painter.drawLine(middle, handle);
            painter.setBrush(colours.paper);
            painter.drawEllipse(handle, kHandleSize * u / 2, kHandleSize * u / 2);
        }
    }
    // The names last, so that a neighbour's outline does not cross them.
    for (std::size_t s = 0; s < site.storages.size(); ++s) {
        const QString name = QString::fromStdString(engine::StorageLabel(site, int(s)));
        const QPolygonF polygon = storagePolygon(viewport, site.storages[s]);
        const QPointF centre = polygon.boundingRect().center();
        const QSizeF size = plot::LabelSize(metrics, u, name);
        QRectF box = plot::AlignedBox(centre, size, Qt::AlignCenter);
        const double shortest = std::min(site.storages[s].width, site.storages[s].depth) * viewport.scale;
        if (size.width() > shortest * 1.3 || size.height() * 3 > shortest) {
            const double gap = polygon.boundingRect().height() / 2 + 4 * u;
            box = placer.place(around(centre, gap, size));
            if (box.isEmpty())
                continue;
        }
        drawLabel(painter, box, name, colours, colours.ink);
    }
}

void drawReceivers(QPainter &painter, LabelPlacer &placer, const SituatieViewport &viewport,
                   const SituatieScene &scene, const QLocale &locale, const ChartColours &colours, double u)
{
    const engine::Site &site = scene.state->site;
    const PainterState state(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const bool checked = scene.result && scene.result->hasCheck
        && scene.result->check.receivers.size() == site.receivers.size();
    for (std::size_t i = 0; i < site.receivers.size(); ++i) {
        const QPointF at = viewport.toDevice(site.receivers[i].at);
        const bool selected =
            scene.selection.kind == SelectionKind::Receiver && scene.selection.index == int(i);
        const engine::ReceiverCheck *check = checked ? &scene.result->check.receivers[i] : nullptr;
        const bool hasLevel = check && !check->inside && check->highest.found;
        painter.setPen(QPen(selected ? kSelection : colours.ink, (selected ? 3 : 1.5) * u));
        painter.setBrush(hasLevel ? verdictFill(check->highest.complies) : colours.paper);
        plot::DrawMarker(painter, at, plot::Marker::Circle, kReceiverSymbol * u);
        placer.reserve(QRectF(at - QPointF(kReceiverSymbol * u / 2, kReceiverSymbol * u / 2),
                              QSizeF(kReceiverSymbol * u, kReceiverSymbol * u)));
    }
    for (std::size_t i = 0; i < site.receivers.size(); ++i) {
        const QPointF at = viewport.toDevice(site.receivers[i].at);
        const engine::ReceiverCheck *check = checked ? &scene.result->check.receivers[i] : nullptr;
        QString text =
            check ? ReceiverLabel(*check, i, locale) : QString::fromStdString(site.receivers[i].name);
        if (text.isEmpty())
            text = QStringLiteral("Ontvanger %1").arg(i + 1);
        const QRectF box = placer.place(around(at, kReceiverSymbol * u * 0.5 + 2 * kLabelRoom * u + 1,
                                               plot::LabelSize(metrics, u, text)));
        if (box.isEmpty())
            continue;
        const bool hasLevel = check && !check->inside && check->highest.found;
        drawLabel(painter, box, text, colours,
                  hasLevel ? verdictInk(check->highest.complies, colours) : colours.ink);
    }
}

void drawHighest(QPainter &painter, LabelPlacer &placer, const SituatieViewport &viewport,
                 const SituatieScene &scene, const QLocale &locale, const ChartColours &colours, double u)
{
    if (!scene.result || !scene.result->hasCheck || !scene.result->check.boundary.found)
        return;
    const engine::SiteHighest &highest = scene.result->check.boundary;
    const QPointF at = viewport.toDevice(highest.at);
    const PainterState state(painter);
    painter.setPen(QPen(colours.ink, 1.6 * u));
    painter.setBrush(verdictFill(highest.complies));
    plot::DrawMarker(painter, at, plot::Marker::Diamond, kHighestSymbol * u);
    placer.reserve(QRectF(at - QPointF(kHighestSymbol * u / 2, kHighestSymbol * u / 2),
                          QSizeF(kHighestSymbol * u, kHighestSymbol * u)));
    const QString text = BoundaryHighestLabel(highest, scene.state->site, locale);
    const QSizeF size = labelSize(QFontMetricsF(painter.font(), painter.device()), u, text);
    const QRectF box = placer.place(around(at, kHighestSymbol * u * 0.5 + 2 * kLabelRoom * u + 1, size));
    if (box.isEmpty())
        return;
    ChartColours own = colours;
    own.ink = verdictInk(highest.complies, colours);
    const PainterState inner(painter);
    painter.setPen(QPen(own.labelEdge, 0.8 * u));
    painter.setBrush(own.labelPaper);
    painter.drawRect(box);
    painter.setPen(own.ink);
    painter.drawText(box, Qt::AlignCenter, text);
}

void drawTitle(QPainter &painter, const QRectF &area, const SituatieScene &scene, const ChartColours &colours,
               double u)
{
    const PainterState state(painter);
    painter.setFont(plot::TitleFont(painter.font()));
    painter.setPen(colours.ink);
    painter.drawText(QRectF(area.left(), area.top() + 4 * u, area.width(), 24 * u), Qt::AlignHCenter,
                     QFontMetricsF(painter.font(), painter.device())
                         .elidedText(scene.title, Qt::ElideRight, area.width()));
}

} // namespace

QRectF SituatieBounds(const SituatieState &state, const SituatieResult *result,
                      const UnderlayContent *underlay)
{
    engine::SiteBox box;
    if (state.hasSite) {
        box = engine::SiteExtent(state.site);
        if (result && result->hasMap && result->map.levels.nx > 1 && result->map.levels.ny > 1) {
            const engine::ScalarGrid &grid = result->map.levels;
            box.take({grid.x0, grid.y0});
            box.take({grid.x0 + (grid.nx - 1) * grid.dx, grid.y0 + (grid.ny - 1) * grid.dy});
        }
    }
    if (box.empty && underlay && state.underlay.present && !underlay->empty())
        return UnderlayBounds(state.underlay, *underlay);
    return box.empty ? QRectF() : QRectF(QPointF(box.west, box.south), QPointF(box.east, box.north));
}

QColor BoundaryColour(double levelKw, double limitKw)
{
    const QColor green(30, 160, 70);
    const QColor amber(240, 160, 0);
    const QColor red(215, 25, 25);
    const double f = levelKw / limitKw;
    if (f > 1)
        return red;
    const double t = std::clamp((f - 0.5) / 0.5, 0.0, 1.0);
    return QColor::fromRgbF(float(green.redF() + (amber.redF() - green.redF()) * t),
                            float(green.greenF() + (amber.greenF() - green.greenF()) * t),
                            float(green.blueF() + (amber.blueF() - green.blueF()) * t));
}

QPointF RotationHandle(const SituatieViewport &viewport, const engine::SiteStorage &storage, double unit)
{
    const engine::StorageFace top = engine::FaceOf(storage, 3);
    const QPointF middle = viewport.toDevice({(top.from.x + top.to.x) / 2, (top.from.y + top.to.y) / 2});
    return middle + QPointF(top.normal.x, -top.normal.y) * (kHandleDistance * unit);
}

QRectF SituatieMapArea(const QRectF &area, bool titled, double unit)
{
    return titled ? area.adjusted(0, kTitleHeight * unit, 0, 0) : area;
}

void PaintSituatie(QPainter &painter, const SituatieViewport &viewport, const SituatieScene &scene,
                   const QLocale &locale, const ChartColours &colours)
{
    const QRectF area = scene.title.isEmpty()
        ? viewport.area
        : viewport.area.adjusted(0, -kTitleHeight * plot::DeviceUnit(painter), 0, 0);
    const plot::ViewScope view(painter, area, colours);
    const double u = plot::DeviceUnit(painter);
    if (!scene.title.isEmpty())
        drawTitle(painter, area, scene, colours, u);
    if (!viewport.valid() || !scene.state)
        return;
    const PainterState clipped(painter);
    painter.setClipRect(viewport.area);
    const bool withUnderlay = scene.underlay && scene.state->underlay.present && !scene.underlay->empty();
    // A picture lies under the colour map, which lets it show through; a drawing's thin
    // lines lie on the map, where they hide nothing.
    const bool lines = withUnderlay && scene.underlay->kind == UnderlayKind::Vector;
    if (withUnderlay && !lines)
        PaintUnderlay(painter, viewport.transform(), scene.state->underlay, *scene.underlay, colours.ink);
    LabelPlacer placer(
        viewport.area.adjusted(kLabelRoom * u, kLabelRoom * u, -kLabelRoom * u, -kLabelRoom * u), u);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const SituatieOverlayAreas overlays = OverlayAreas(viewport, metrics, locale, u);
    for (const QRectF &taken : {overlays.legend, overlays.arrow, overlays.scale})
        placer.reserve(taken);
    if (!scene.state->hasSite && lines)
        PaintUnderlay(painter, viewport.transform(), scene.state->underlay, *scene.underlay, colours.ink);
    if (scene.state->hasSite) {
        const bool mapped = scene.result && scene.result->hasMap;
        if (mapped)
            drawMap(painter, viewport, scene.result->map, withUnderlay && !lines);
        if (lines)
            PaintUnderlay(painter, viewport.transform(), scene.state->underlay, *scene.underlay, colours.ink);
        if (mapped)
            drawContours(painter, viewport, scene.result->map, u);
        drawBoundary(painter, viewport, scene, colours, u);
        drawStorages(painter, placer, viewport, scene, colours, u);
        drawReceivers(painter, placer, viewport, scene, locale, colours, u);
        drawHighest(painter, placer, viewport, scene, locale, colours, u);
        if (mapped)
            drawContourLabels(painter, placer, viewport, scene.result->map, locale, colours, u);
        if (mapped)
            DrawLegend(painter, viewport.area, scene.result->map, scene.state->site.limit, locale, colours,
                       u);
    }
    DrawNorthArrow(painter, viewport.area, colours, u);
    DrawScaleBar(painter, viewport, locale, colours, u);
    painter.setClipping(false);
    painter.setPen(QPen(colours.ink, 1 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(viewport.area);
}

} // namespace explore
