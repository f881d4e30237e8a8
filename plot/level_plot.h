#pragma once

#include "calculate.h"

#include <QByteArray>
#include <QPointF>
#include <QString>

#include <vector>

namespace plot {

// One line of the chart: level (kW/m²) against distance (m).
struct Curve
{
    QString label;
    std::vector<QPointF> points;
    bool envelope = false;
};

// What the chart shows: the level against distance at each assessment height (and the
// envelope over all heights when asked), the limit, and the safe distance.
struct LevelPlot
{
    QString title;
    QString subtitle;
    std::vector<Curve> curves;
    double limitKw = 15;
    bool hasSafeDistance = false;
    bool everyDistanceComplies = false; // the first distance searched complies already
    double safeDistance = 0;            // m
    double firstDistance = 0;
    double lastDistance = 0;
};

// The chart's data for a storage. The distances run from 0.1 m (or just beyond the
// screen) to well past the safe distance. Returns false with the Dutch explanation when
// the method cannot compute the storage.
bool levelPlot(const engine::CalculationInput &input, double limitKw, bool envelope, LevelPlot &plot,
               QString &error);

enum class Format { Svg, Png, Pdf };

// The format for a file name's extension (.svg, .png, .pdf, any case); false otherwise.
bool formatForFile(const QString &file, Format &format);

// The chart as the bytes of an A5 landscape file; PNG at 150 dots per inch.
QByteArray renderLevelPlot(const LevelPlot &plot, Format format);

} // namespace plot
