#pragma once

#include <QColor>
#include <QLocale>
#include <QPen>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstddef>
#include <vector>

class QPainter;

namespace plot {

enum class Marker { None, Circle, Square, Triangle, Diamond, Cross };

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
};

// The look of the series of the n-th assessment height, the same in every chart of the
// programs: colour, dash pattern and marker all differ, for black-and-white prints.
QPen HeightSeriesPen(std::size_t index, double width);
Marker HeightSeriesMarker(std::size_t index);

// The series of the envelope over all heights: thick, solid, black.
QPen EnvelopePen();
// The limit as a dashed line across the plot, vertical when the level runs along x.
ChartLine LimitLine(double limit, bool vertical, const QString &label);
// Where the level falls to the limit at `distance`: a thin line and a labelled diamond.
void MarkLimitDistance(LineChart &chart, double distance, double limit, const QString &label);

// Pixels of the device per pixel of a 96 dpi screen: pens and gaps scale with it.
double DeviceUnit(const QPainter &painter);

// Starts drawing a view on `area`: saves the painter, smooths lines, clears the area to
// white and sets the views' 9 pt font, which it returns. The caller restores the painter.
QFont BeginView(QPainter &painter, const QRectF &area);

void DrawMarker(QPainter &painter, const QPointF &centre, Marker marker, double size);

// Draws text inside a white box with a thin border, anchored at `anchor` by `alignment`;
// gives the box. LabelBox gives it without drawing.
QRectF DrawLabel(QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment);
QRectF LabelBox(const QPainter &painter, const QPointF &anchor, const QString &text, Qt::Alignment alignment);

void PaintLineChart(QPainter &painter, const QRectF &area, const LineChart &chart, const QLocale &locale);

// Tick step of an axis: a round figure giving about `ticks` intervals.
double TickStep(double span, int ticks);
QString TickText(double value, double step, const QLocale &locale);

} // namespace plot
