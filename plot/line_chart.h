#pragma once

#include "chart_style.h"

#include <QLocale>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <vector>

class QPainter;

namespace plot {

// One curve of the chart, drawn as straight segments between its points: a segment never
// leaves the range of its two ends, so a level that is 0 behind a screen is drawn at 0.
struct ChartSeries
{
    QString name;
    std::vector<QPointF> points;
    QPen pen;
    Marker marker = Marker::None;
};

// A straight line across the plot at one value, with its label.
struct ChartLine
{
    double value = 0;
    bool vertical = true;
    QString label;
    QPen pen;
};

// A highlighted spot with a label beside it.
struct ChartMark
{
    QPointF point;
    QString label;
    Marker marker = Marker::Circle;
};

// A line chart drawn with QPainter alone, so that the same drawing serves the screen,
// PNG, SVG and the PDF report; series differ by line style and marker as well as by
// colour, so that a black-and-white print stays readable.
struct LineChart
{
    QString title;
    QString xTitle;
    QString yTitle;
    double xMin = 0;
    double xMax = 1;
    double yMin = 0;
    double yMax = 1;
    std::vector<ChartSeries> series;
    std::vector<ChartLine> lines;
    std::vector<ChartMark> marks;
    QString note;
    ChartColours colours = ChartColours::Paper();
};

// The look of the series of the n-th assessment height, the same in every chart of the
// programs: colour, dash pattern and marker all differ, for black-and-white prints.
QPen HeightSeriesPen(std::size_t index, double width, const ChartColours &colours);
Marker HeightSeriesMarker(std::size_t index);

// The series of the envelope over all heights: thick, solid, in the ink's colour.
QPen EnvelopePen(const ChartColours &colours);
// The limit as a dashed line across the plot, vertical when the level runs along x.
ChartLine LimitLine(double limit, bool vertical, const QString &label, const ChartColours &colours);
// Where the level falls to the limit at `distance`: a thin line and a labelled diamond.
void MarkLimitDistance(LineChart &chart, double distance, double limit, const QString &label);

void PaintLineChart(QPainter &painter, const QRectF &area, const LineChart &chart, const QLocale &locale);

} // namespace plot
