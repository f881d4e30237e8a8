#include "chart_layout.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

// Distances in pixels of a 96 dpi screen (times the device unit).
constexpr double kEdge = 4;          // from the area's edges to the outer texts
constexpr double kTitleGap = 6;      // below the title, above the top tick label
constexpr double kTickGap = 3;       // from the axis to its tick labels
constexpr double kYTickGap = 6;      // from the y tick labels to the axis
constexpr double kTickSpacing = 10;  // the least room between two x tick labels
constexpr double kAxisTitleGap = 3;  // between tick labels and the axis title
constexpr double kLegendGap = 6;     // above the legend
constexpr double kLegendRowGap = 2;  // between legend rows
constexpr double kLegendSample = 34; // the length of a legend's line sample
constexpr double kLegendTextGap = 6; // between sample and name
constexpr double kLegendColumnGap = 12;
constexpr double kNoteGap = 4;       // above the note
constexpr double kRightMargin = 16;  // right of the plot, for the last tick label
constexpr double kLabelInset = 3;    // labels of lines from the line and the plot's edge
constexpr double kMarkOffset = 9;    // a mark's label from its point, along each axis
constexpr double kMarkClearance = 7; // half the room a mark's symbol takes
constexpr double kMinimumPlot = 20;  // a smaller plot is not drawn at all
constexpr int kXTicks = 8;           // intervals aimed at; fewer when the labels do not fit
constexpr int kYTicks = 6;

// Everything the layout measures with.
struct Measure
{
    QFontMetricsF text;
    QFontMetricsF title;
    double u;
    double line;
    const QLocale &locale;

    QSizeF size(const QString &s) const { return {text.horizontalAdvance(s), line}; }
    double wrappedHeight(const QFontMetricsF &metrics, const QString &s, double width) const
    {
        if (s.isEmpty())
            return 0;
        return metrics.boundingRect(QRectF(0, 0, width, 1e6), Qt::TextWordWrap, s).height();
    }
};

std::vector<double> tickValues(double from, double to, double step)
{
    std::vector<double> values;
    for (double v = from; v <= to + step * 1e-6; v += step)
        values.push_back(v);
    return values;
}

double widestTick(const Measure &m, double from, double to, double step)
{
    double widest = 0;
    for (double v : tickValues(from, to, step))
        widest = std::max(widest, m.text.horizontalAdvance(TickText(v, step, m.locale)));
    return widest;
}

// Whether `box` lies inside `bounds` and clear of every box in `taken`.
bool clear(const QRectF &box, const QRectF &bounds, const std::vector<QRectF> &taken)
{
    return bounds.contains(box) && std::none_of(taken.begin(), taken.end(), [&box](const QRectF &other) {
               return other.intersects(box);
           });
}

// The tallest the legend gets for `count` entries in `columns` columns.
double legendHeight(const Measure &m, std::size_t count, int columns)
{
    if (count == 0)
        return 0;
    const std::size_t rows = (count + std::size_t(columns) - 1) / std::size_t(columns);
    return kLegendGap * m.u + double(rows) * (m.line + kLegendRowGap * m.u);
}

// Two columns when every name fits half the width.
int legendColumns(const Measure &m, const LineChart &chart, double width)
{
    const double room = (width - kLegendColumnGap * m.u) / 2 - (kLegendSample + kLegendTextGap) * m.u;
    for (const ChartSeries &series : chart.series) {
        if (m.text.horizontalAdvance(series.name) > room)
            return 1;
    }
    return 2;
}

void layOutTitles(ChartLayout &layout, const LineChart &chart, const QRectF &area, const Measure &m)
{
    const double width = area.width() - 2 * kEdge * m.u;
    const double titleHeight = m.wrappedHeight(m.title, chart.title, width);
    layout.title = {QRectF(area.left() + kEdge * m.u, area.top() + kEdge * m.u, width, titleHeight),
                    chart.title};
    const double noteHeight = m.wrappedHeight(m.text, chart.note, width);
    layout.note = {
        QRectF(area.left() + kEdge * m.u, area.bottom() - kEdge * m.u - noteHeight, width, noteHeight),
        chart.note};
}

void layOutXTicks(ChartLayout &layout, const Measure &m, const QRectF &area)
{
    const double span = layout.xMax - layout.xMin;
    for (int n = kXTicks; n >= 1; --n) {
        layout.xStep = TickStep(span, n);
        const double spacing = layout.xStep / span * layout.plot.width();
        if (widestTick(m, layout.xMin, layout.xMax, layout.xStep) + kTickSpacing * m.u <= spacing)
            break;
    }
    // The first label keeps clear of the lowest y tick label beside the corner.
    const double leftmost = layout.plot.left() - kYTickGap * m.u + kTickGap * m.u;
    for (double v : tickValues(layout.xMin, layout.xMax, layout.xStep)) {
        const QString text = TickText(v, layout.xStep, m.locale);
        const QSizeF size = m.size(text);
        const double x = layout.toDevice({v, 0}).x();
        const double left = std::clamp(x - size.width() / 2, std::max(leftmost, area.left() + kEdge * m.u),
                                       area.right() - kEdge * m.u - size.width());
        layout.xTicks.push_back({QRectF(QPointF(left, layout.plot.bottom() + kTickGap * m.u), size), text});
    }
}

void layOutYTicks(ChartLayout &layout, const Measure &m)
{
    const double span = layout.yMax - layout.yMin;
    for (int n = kYTicks; n >= 1; --n) {
        layout.yStep = TickStep(span, n);
        if (layout.yStep / span * layout.plot.height() >= m.line + kLegendRowGap * m.u)
            break;
    }
    for (double v : tickValues(layout.yMin, layout.yMax, layout.yStep)) {
        const QString text = TickText(v, layout.yStep, m.locale);
        const QSizeF size = m.size(text);
        const double y = layout.toDevice({0, v}).y();
        layout.yTicks.push_back(
            {QRectF(QPointF(layout.plot.left() - kYTickGap * m.u - size.width(), y - size.height() / 2),
                    size),
             text});
    }
}

void layOutAxisTitles(ChartLayout &layout, const LineChart &chart, const QRectF &area, const Measure &m)
{
    const double inner = area.width() - 2 * kEdge * m.u;
    const QString xTitle = m.text.elidedText(chart.xTitle, Qt::ElideRight, inner);
    const QSizeF xSize = m.size(xTitle);
    const double xLeft = std::clamp(layout.plot.center().x() - xSize.width() / 2, area.left() + kEdge * m.u,
                                    area.right() - kEdge * m.u - xSize.width());
    const double xTop = layout.plot.bottom() + kTickGap * m.u + m.line + kAxisTitleGap * m.u;
    layout.xTitle = {QRectF(QPointF(xLeft, xTop), xSize), xTitle};

    const QString yTitle = m.text.elidedText(chart.yTitle, Qt::ElideRight, layout.plot.height());
    const double length = m.text.horizontalAdvance(yTitle);
    layout.yTitle = {QRectF(area.left() + kEdge * m.u, layout.plot.center().y() - length / 2, m.line, length),
                     yTitle};
}

void layOutLegend(ChartLayout &layout, const LineChart &chart, const Measure &m)
{
    const int columns = legendColumns(m, chart, layout.plot.width());
    const double columnWidth =
        columns == 2 ? (layout.plot.width() - kLegendColumnGap * m.u) / 2 : layout.plot.width();
    const double top = layout.xTitle.box.bottom() + kLegendGap * m.u;
    for (std::size_t s = 0; s < chart.series.size(); ++s) {
        const double x =
            layout.plot.left() + double(s % std::size_t(columns)) * (columnWidth + kLegendColumnGap * m.u);
        const double y = top + double(s / std::size_t(columns)) * (m.line + kLegendRowGap * m.u);
        const double textLeft = x + (kLegendSample + kLegendTextGap) * m.u;
        const QString name =
            m.text.elidedText(chart.series[s].name, Qt::ElideRight, x + columnWidth - textLeft);
        LegendEntry entry;
        entry.sample = QRectF(x, y, kLegendSample * m.u, m.line);
        entry.name = {QRectF(QPointF(textLeft, y), m.size(name)), name};
        layout.legend.push_back(entry);
    }
}

// The plot's rectangle: what the texts around it leave of the area.
QRectF plotRect(const LineChart &chart, const QRectF &area, const ChartLayout &layout, const Measure &m)
{
    double yTickWidth = 0;
    for (int n = kYTicks; n >= 1; --n)
        yTickWidth =
            std::max(yTickWidth, widestTick(m, chart.yMin, chart.yMax, TickStep(chart.yMax - chart.yMin, n)));
    const double left = area.left() + (kEdge + kAxisTitleGap + kYTickGap) * m.u + m.line + yTickWidth;
    const double right = area.right() - kRightMargin * m.u;
    const double top = layout.title.box.bottom() + kTitleGap * m.u + m.line / 2;
    const double columnsWidth = right - left;
    const double below = kTickGap * m.u + m.line + kAxisTitleGap * m.u + m.line
        + legendHeight(m, chart.series.size(), legendColumns(m, chart, columnsWidth))
        + (chart.note.isEmpty() ? 0 : kNoteGap * m.u + layout.note.box.height()) + kEdge * m.u;
    return QRectF(QPointF(left, top), QPointF(right, area.bottom() - below));
}

// A first place for `box` inside the plot clear of `taken`, tried in the order of `candidates`.
bool placeLabel(const std::vector<QRectF> &candidates, const QRectF &plot, std::vector<QRectF> &taken,
                QRectF &box)
{
    for (const QRectF &candidate : candidates) {
        if (clear(candidate, plot, taken)) {
            box = candidate;
            taken.push_back(box);
            return true;
        }
    }
    return false;
}

// Towards the middle of the plot first, then the other corners, then above or below the
// mark, shifted sideways into the plot; then the same farther up or down.
std::vector<QRectF> markCandidates(const ChartLayout &layout, const QPointF &p, const QString &text,
                                   const Measure &m)
{
    const bool leftHalf = p.x() < layout.plot.center().x();
    const bool upperHalf = p.y() < layout.plot.center().y();
    const double d = kMarkOffset * m.u;
    std::vector<QRectF> candidates;
    for (double reach : {1.0, 2.5, 4.0}) {
        for (int corner = 0; corner < 4; ++corner) {
            const bool right = (corner & 1) ? !leftHalf : leftHalf;
            const bool below = (corner & 2) ? !upperHalf : upperHalf;
            const QPointF offset(right ? d : -d, (below ? 1 : -1) * d * reach);
            const Qt::Alignment alignment =
                (right ? Qt::AlignLeft : Qt::AlignRight) | (below ? Qt::AlignTop : Qt::AlignBottom);
            candidates.push_back(LabelBox(m.text, m.u, p + offset, text, alignment));
        }
        for (const bool below : {upperHalf, !upperHalf}) {
            QRectF box = LabelBox(m.text, m.u, p + QPointF(0, (below ? 1 : -1) * d * reach), text,
                                  Qt::AlignHCenter | (below ? Qt::AlignTop : Qt::AlignBottom));
            const double inset = kLabelInset * m.u;
            box.moveLeft(
                std::clamp(box.left(), layout.plot.left() + inset,
                           std::max(layout.plot.left() + inset, layout.plot.right() - inset - box.width())));
            candidates.push_back(box);
        }
    }
    return candidates;
}

// A vertical line's label hangs at its top, beside it; a horizontal line's sits on it at
// the right end, else the left end, else below it. Each goes lower or aside when taken.
std::vector<QRectF> lineCandidates(const ChartLayout &layout, const ChartLine &line, const Measure &m)
{
    std::vector<QRectF> candidates;
    const double inset = kLabelInset * m.u;
    const QPointF at = layout.toDevice({line.value, line.value});
    if (line.vertical) {
        for (double y = layout.plot.top() + inset; y < layout.plot.bottom(); y += m.line + 2 * inset) {
            candidates.push_back(
                LabelBox(m.text, m.u, {at.x() + inset, y}, line.label, Qt::AlignLeft | Qt::AlignTop));
            candidates.push_back(
                LabelBox(m.text, m.u, {at.x() - inset, y}, line.label, Qt::AlignRight | Qt::AlignTop));
        }
        return candidates;
    }
    for (const bool above : {true, false}) {
        const double y = above ? at.y() - inset : at.y() + inset;
        const Qt::Alignment vertical = above ? Qt::AlignBottom : Qt::AlignTop;
        candidates.push_back(
            LabelBox(m.text, m.u, {layout.plot.right() - inset, y}, line.label, Qt::AlignRight | vertical));
        candidates.push_back(
            LabelBox(m.text, m.u, {layout.plot.left() + inset, y}, line.label, Qt::AlignLeft | vertical));
        // Along the line from the right, when both ends are taken.
        const double width = candidates.back().width();
        for (double right = layout.plot.right() - inset - width / 2; right - width > layout.plot.left();
             right -= width / 2)
            candidates.push_back(LabelBox(m.text, m.u, {right, y}, line.label, Qt::AlignRight | vertical));
    }
    return candidates;
}

void layOutInnerLabels(ChartLayout &layout, const LineChart &chart, const Measure &m)
{
    std::vector<QRectF> taken;
    const double clearance = kMarkClearance * m.u;
    for (const ChartMark &mark : chart.marks) {
        const QPointF p = layout.toDevice(mark.point);
        if (layout.plot.contains(p))
            taken.push_back(QRectF(p - QPointF(clearance, clearance), p + QPointF(clearance, clearance)));
    }
    for (const ChartMark &mark : chart.marks) {
        const QPointF p = layout.toDevice(mark.point);
        if (!layout.plot.contains(p))
            continue;
        // A mark's label is never left out: where no place is clear, it goes to the
        // first place inside the plot.
        const std::vector<QRectF> candidates = markCandidates(layout, p, mark.label, m);
        QRectF box = candidates.front();
        if (!placeLabel(candidates, layout.plot, taken, box)) {
            const auto inside = std::find_if(candidates.begin(), candidates.end(),
                                             [&](const QRectF &c) { return layout.plot.contains(c); });
            if (inside != candidates.end())
                box = *inside;
            taken.push_back(box);
        }
        layout.markPoints.push_back(p);
        layout.markLabels.push_back({box, mark.label});
    }
    for (const ChartLine &line : chart.lines) {
        const QPointF at = layout.toDevice({line.value, line.value});
        const bool shown = line.vertical ? at.x() >= layout.plot.left() && at.x() <= layout.plot.right()
                                         : at.y() >= layout.plot.top() && at.y() <= layout.plot.bottom();
        QRectF box;
        if (!line.label.isEmpty() && shown
            && placeLabel(lineCandidates(layout, line, m), layout.plot, taken, box))
            layout.lineLabels.push_back({box, line.label});
    }
}

} // namespace

QPointF ChartLayout::toDevice(const QPointF &value) const
{
    return {plot.left() + (value.x() - xMin) / (xMax - xMin) * plot.width(),
            plot.bottom() - (value.y() - yMin) / (yMax - yMin) * plot.height()};
}

std::vector<QRectF> ChartLayout::outerBoxes() const
{
    std::vector<QRectF> boxes;
    for (const PlacedText *text : {&title, &xTitle, &yTitle, &note}) {
        if (!text->text.isEmpty())
            boxes.push_back(text->box);
    }
    for (const auto *ticks : {&xTicks, &yTicks}) {
        for (const PlacedText &tick : *ticks)
            boxes.push_back(tick.box);
    }
    for (const LegendEntry &entry : legend) {
        boxes.push_back(entry.sample);
        boxes.push_back(entry.name.box);
    }
    return boxes;
}

ChartLayout LayoutLineChart(const LineChart &chart, const QRectF &area, const QPaintDevice *device,
                            const QFont &font, const QLocale &locale)
{
    const double u = DeviceUnit(device);
    const QFontMetricsF text(font, device);
    const Measure m {text, QFontMetricsF(TitleFont(font), device), u, text.height(), locale};
    ChartLayout layout;
    layout.xMin = chart.xMin;
    layout.xMax = chart.xMax;
    layout.yMin = chart.yMin;
    layout.yMax = chart.yMax;
    if (!(chart.xMax > chart.xMin) || !(chart.yMax > chart.yMin))
        return layout;
    layOutTitles(layout, chart, area, m);
    const QRectF plot = plotRect(chart, area, layout, m);
    if (plot.width() < kMinimumPlot * u || plot.height() < kMinimumPlot * u)
        return layout;
    layout.plot = plot;
    layOutYTicks(layout, m);
    layOutXTicks(layout, m, area);
    layOutAxisTitles(layout, chart, area, m);
    layOutLegend(layout, chart, m);
    layOutInnerLabels(layout, chart, m);
    return layout;
}

} // namespace plot
