#pragma once

#include "line_chart.h"

#include <QFont>
#include <QLocale>
#include <QRectF>
#include <QString>

#include <vector>

class QPaintDevice;

namespace plot {

// A text and the box it is drawn in.
struct PlacedText
{
    QRectF box;
    QString text;
};

struct LegendEntry
{
    QRectF sample; // the line with its marker
    PlacedText name;
};

// Where everything of a line chart goes on an area, before anything is drawn: the texts
// around the plot (title, ticks, axis titles, legend, note) stay off the plot and off
// each other; the labels of the lines and the marks stay inside the plot and off each
// other and off the marks.
struct ChartLayout
{
    QRectF plot; // empty when the area is too small for a chart
    double xStep = 1;
    double yStep = 1;
    PlacedText title;
    std::vector<PlacedText> xTicks;
    std::vector<PlacedText> yTicks;
    PlacedText xTitle;
    PlacedText yTitle; // drawn turned a quarter left; the box is where it lands
    std::vector<LegendEntry> legend;
    PlacedText note;
    std::vector<PlacedText> lineLabels; // inside the plot
    std::vector<PlacedText> markLabels; // inside the plot, one per mark shown
    std::vector<QPointF> markPoints;    // the device points of those marks
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;

    bool valid() const { return !plot.isEmpty(); }
    QPointF toDevice(const QPointF &value) const;
    // The texts that must stay clear of the plot: title, ticks, axis titles, legend, note.
    std::vector<QRectF> outerBoxes() const;
};

// The layout of `chart` on `area` of `device` (for its resolution and font metrics), with
// the text font `font` (TextFont of the painter's).
ChartLayout LayoutLineChart(const LineChart &chart, const QRectF &area, const QPaintDevice *device,
                            const QFont &font, const QLocale &locale);

} // namespace plot
