#pragma once

#include "exploration.h"
#include "line_chart.h"
#include "plan_painter.h"

#include <QLocale>
#include <QRectF>

class QPainter;

namespace explore {

using plot::ChartColours;
using plot::LineChart;

enum class ViewKind { Distance, Height, Plan };

// The charts of the exploration: the level against distance (a curve per assessment
// height and the envelope, the limit, the minimal distance) and against height (the
// check's highest level marked where the check finds it).
LineChart DistanceChart(const Exploration &exploration, const QLocale &locale,
                        const ChartColours &colours = ChartColours::Paper());
LineChart HeightChart(const Exploration &exploration, const QLocale &locale,
                      const ChartColours &colours = ChartColours::Paper());

// Files and prints are drawn on paper; the screen passes its palette's colours.
void PaintView(QPainter &painter, const QRectF &area, ViewKind kind, const Exploration &exploration,
               const QLocale &locale, const ChartColours &colours = ChartColours::Paper());

// Numbers as the views write them: two decimals in the given locale, a dash for a value
// that is not a number.
QString Number(double value, const QLocale &locale, int decimals = 2);

} // namespace explore
