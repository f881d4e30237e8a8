#include "chart_style.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

// The series on white: saturated and dark enough for thin lines.
constexpr std::array<QRgb, 5> kSeriesOnLight = {0x005ab5, 0xdc3220, 0x008c46, 0x9646aa, 0xc87800};
// On a dark base the same hues, lighter.
constexpr std::array<QRgb, 5> kSeriesOnDark = {0x64aaff, 0xff7864, 0x5ad278, 0xc896f0, 0xf0aa3c};
constexpr QRgb kLimitOnLight = 0xbe0000;
constexpr QRgb kLimitOnDark = 0xff5a5a;
// A label's box lets a line behind it show through faintly.
constexpr int kLabelAlpha = 235;

QColor blend(const QColor &from, const QColor &to, double share)
{
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * share),
                            float(from.greenF() + (to.greenF() - from.greenF()) * share),
                            float(from.blueF() + (to.blueF() - from.blueF()) * share));
}

double luminance(const QColor &colour)
{
    const auto linear = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF())
        + 0.0722 * linear(colour.blueF());
}

ChartColours coloursOn(const QColor &paper, const QColor &ink)
{
    ChartColours colours;
    colours.paper = paper;
    colours.ink = ink;
    colours.grid = blend(paper, ink, 0.18);
    colours.muted = blend(paper, ink, 0.7);
    colours.labelPaper = paper;
    colours.labelPaper.setAlpha(kLabelAlpha);
    colours.labelEdge = blend(paper, ink, 0.65);
    colours.ground = blend(paper, ink, 0.06);
    const bool dark = luminance(paper) < luminance(ink);
    colours.limit = QColor::fromRgb(dark ? kLimitOnDark : kLimitOnLight);
    for (std::size_t i = 0; i < colours.series.size(); ++i)
        colours.series[i] = QColor::fromRgb(dark ? kSeriesOnDark[i] : kSeriesOnLight[i]);
    return colours;
}

} // namespace

ChartColours ChartColours::Paper()
{
    return coloursOn(Qt::white, Qt::black);
}

ChartColours ChartColours::FromPalette(const QPalette &palette)
{
    return coloursOn(palette.color(QPalette::Base), palette.color(QPalette::Text));
}

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

PainterState::PainterState(QPainter &painter)
    : m_painter(painter)
{
    m_painter.save();
}

PainterState::~PainterState()
{
    m_painter.restore();
}

QFont TextFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(kTextPointSize);
    return font;
}

QFont TitleFont(const QFont &base)
{
    QFont font = base;
    font.setPointSizeF(kTitlePointSize);
    font.setBold(true);
    return font;
}

ViewScope::ViewScope(QPainter &painter, const QRectF &area, const ChartColours &colours)
    : m_state(painter)
    , m_font(TextFont(painter.font()))
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, colours.paper);
    painter.setFont(m_font);
    painter.setPen(colours.ink);
}

double DeviceUnit(const QPaintDevice *device)
{
    return device ? device->logicalDpiY() / 96.0 : 1.0;
}

double DeviceUnit(const QPainter &painter)
{
    return DeviceUnit(painter.device());
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

QSizeF LabelSize(const QFontMetricsF &metrics, double unit, const QString &text)
{
    return {metrics.horizontalAdvance(text) + 6 * unit, metrics.height() + 2 * unit};
}

QRectF LabelBox(const QFontMetricsF &metrics, double unit, const QPointF &anchor, const QString &text,
                Qt::Alignment alignment)
{
    return AlignedBox(anchor, LabelSize(metrics, unit, text), alignment);
}

QRectF AlignedBox(const QPointF &anchor, const QSizeF &size, Qt::Alignment alignment)
{
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

QRectF LabelBox(const QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment)
{
    return LabelBox(QFontMetricsF(painter.font(), painter.device()), DeviceUnit(painter), anchor, text,
                    alignment);
}

void DrawLabelIn(QPainter &painter, const QRectF &box, const QString &text, const ChartColours &colours)
{
    const PainterState state(painter);
    painter.setPen(QPen(colours.labelEdge, 0.8 * DeviceUnit(painter)));
    painter.setBrush(colours.labelPaper);
    painter.drawRect(box);
    painter.setPen(colours.ink);
    painter.drawText(box, Qt::AlignCenter, text);
}

QRectF DrawLabel(QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment,
                 const ChartColours &colours)
{
    const QRectF box = LabelBox(painter, anchor, text, alignment);
    DrawLabelIn(painter, box, text, colours);
    return box;
}

double TickStep(double span, int ticks)
{
    if (!(span > 0) || ticks < 1)
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

} // namespace plot
