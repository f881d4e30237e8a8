#include "situatie_overlays.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace explore {
namespace {

using plot::ChartColours;
using plot::PainterState;

// Distances in pixels of a 96 dpi screen (times the device unit).
constexpr double kEdge = 10; // from the map's edge
constexpr double kLegendWidth = 78;
constexpr double kLegendBar = 14;
constexpr double kLegendHeight = 230;
constexpr double kScaleBarShare = 0.2; // of the map's width, about
constexpr double kArrowHeight = 34;

QRectF legendPanel(const QRectF &map, double u)
{
    const double height = std::min(kLegendHeight * u, map.height() - 2 * kEdge * u);
    if (height < 80 * u)
        return {};
    return QRectF(map.right() - (kEdge + kLegendWidth) * u, map.top() + kEdge * u, kLegendWidth * u, height);
}

QRectF arrowPanel(const QRectF &map, const QFontMetricsF &metrics, double u)
{
    return QRectF(map.left() + kEdge * u, map.top() + kEdge * u, 28 * u,
                  kArrowHeight * u + metrics.height() + 6 * u);
}

double scaleBarLength(const SituatieViewport &viewport)
{
    const QRectF &map = viewport.area;
    double length = plot::TickStep(map.width() * kScaleBarShare / viewport.scale, 1);
    if (length * viewport.scale > map.width() * 0.35)
        length /= 2;
    return length;
}

QRectF scalePanel(const SituatieViewport &viewport, const QFontMetricsF &metrics, const QString &text,
                  double u)
{
    const QRectF &map = viewport.area;
    const double pixels = scaleBarLength(viewport) * viewport.scale;
    return QRectF(map.left() + kEdge * u, map.bottom() - (kEdge + 22) * u - metrics.height(),
                  pixels + metrics.horizontalAdvance(text) / 2 + 20 * u, metrics.height() + 22 * u);
}

QString scaleText(const SituatieViewport &viewport, const QLocale &locale)
{
    const double length = scaleBarLength(viewport);
    return QStringLiteral("%1 m").arg(plot::TickText(length, length, locale));
}

} // namespace

SituatieOverlayAreas OverlayAreas(const SituatieViewport &viewport, const QFontMetricsF &metrics,
                                  const QLocale &locale, double unit)
{
    return {legendPanel(viewport.area, unit), arrowPanel(viewport.area, metrics, unit),
            scalePanel(viewport, metrics, scaleText(viewport, locale), unit)};
}

void DrawLegend(QPainter &painter, const QRectF &map, const SituatieMap &levels, double limitKw,
                const QLocale &locale, const ChartColours &colours, double u)
{
    const PainterState state(painter);
    const QRectF panel = legendPanel(map, u);
    if (panel.isEmpty())
        return;
    QColor back = colours.labelPaper;
    back.setAlpha(225);
    painter.setPen(QPen(colours.labelEdge, 0.8 * u));
    painter.setBrush(back);
    painter.drawRect(panel);
    painter.setPen(colours.ink);
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QRectF(panel.left(), panel.top() + 2 * u, panel.width(), metrics.height()),
                     Qt::AlignHCenter, QStringLiteral("kW/m²"));
    const QRectF bar(panel.left() + 10 * u, panel.top() + metrics.height() + 8 * u, kLegendBar * u,
                     panel.height() - metrics.height() - 16 * u);
    QImage ramp(1, 256, QImage::Format_ARGB32);
    for (int i = 0; i < 256; ++i)
        ramp.setPixel(0, 255 - i, MapColour(levels.topKw * i / 255.0, levels.topKw));
    painter.fillRect(bar, colours.paper);
    painter.drawImage(bar, ramp);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colours.ink, 0.8 * u));
    painter.drawRect(bar);
    const double step = plot::TickStep(levels.topKw, 5);
    for (double v = 0; v <= levels.topKw + 1e-9; v += step) {
        const double y = bar.bottom() - v / levels.topKw * bar.height();
        painter.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4 * u, y));
        painter.drawText(QRectF(bar.right() + 6 * u, y - metrics.height() / 2, 40 * u, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, plot::TickText(v, step, locale));
    }
    if (limitKw <= levels.topKw) {
        const double y = bar.bottom() - limitKw / levels.topKw * bar.height();
        painter.setPen(QPen(colours.ink, 3 * u));
        painter.drawLine(QPointF(bar.left() - 4 * u, y), QPointF(bar.right(), y));
    }
}

void DrawScaleBar(QPainter &painter, const SituatieViewport &viewport, const QLocale &locale,
                  const ChartColours &colours, double u)
{
    const PainterState state(painter);
    const double pixels = scaleBarLength(viewport) * viewport.scale;
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QString text = scaleText(viewport, locale);
    const QRectF panel = scalePanel(viewport, metrics, text, u);
    QColor back = colours.labelPaper;
    back.setAlpha(225);
    painter.setPen(Qt::NoPen);
    painter.setBrush(back);
    painter.drawRect(panel);
    const double left = panel.left() + 8 * u;
    const double y = panel.top() + 6 * u;
    painter.setPen(QPen(colours.ink, 1 * u));
    for (int part = 0; part < 4; ++part) {
        painter.setBrush(part % 2 ? colours.paper : colours.ink);
        painter.drawRect(QRectF(left + part * pixels / 4, y, pixels / 4, 6 * u));
    }
    painter.drawText(QRectF(left - 20 * u, y + 8 * u, 40 * u, metrics.height()), Qt::AlignHCenter,
                     QStringLiteral("0"));
    painter.drawText(QRectF(left + pixels - 60 * u, y + 8 * u, 120 * u, metrics.height()), Qt::AlignHCenter,
                     text);
}

void DrawNorthArrow(QPainter &painter, const QRectF &map, const ChartColours &colours, double u)
{
    const PainterState state(painter);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF panel = arrowPanel(map, metrics, u);
    QColor back = colours.labelPaper;
    back.setAlpha(225);
    painter.setPen(Qt::NoPen);
    painter.setBrush(back);
    painter.drawRect(panel);
    const double x = panel.center().x();
    const double top = panel.top() + metrics.height() + 4 * u;
    const double bottom = panel.bottom() - 4 * u;
    QPolygonF left {QPointF(x, top), QPointF(x - 8 * u, bottom), QPointF(x, bottom - 8 * u)};
    QPolygonF right {QPointF(x, top), QPointF(x + 8 * u, bottom), QPointF(x, bottom - 8 * u)};
    painter.setPen(QPen(colours.ink, 1 * u));
    painter.setBrush(colours.ink);
    painter.drawPolygon(left);
    painter.setBrush(colours.paper);
    painter.drawPolygon(right);
    painter.setPen(colours.ink);
    painter.drawText(QRectF(panel.left(), panel.top() + 2 * u, panel.width(), metrics.height()),
                     Qt::AlignHCenter, QStringLiteral("N"));
}

} // namespace explore
