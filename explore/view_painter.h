#pragma once

#include "exploration.h"
#include "line_chart.h"

#include <QLocale>
#include <QRectF>

class QPainter;

namespace explore {

using plot::BeginView;
using plot::ChartSeries;
using plot::DeviceUnit;
using plot::DrawLabel;
using plot::DrawMarker;
using plot::LineChart;
using plot::Marker;
using plot::PaintLineChart;
using plot::TickStep;
using plot::TickText;

enum class ViewKind { Distance, Height, Plan };

// Where the plan's ground lies in a drawing area: equal scale along and across the
// face, y upwards. Shared by the drawing and by the hover read-out.
struct PlanLayout
{
    QRectF map;           // device rectangle of the ground shown
    double worldLeft = 0; // x at map.left() (negative: into the storage)
    double worldBottom = 0;
    double scale = 1; // device units per metre
    double storageDepthShown = 0;

    QPointF toDevice(double x, double y) const;
    QPointF toWorld(const QPointF &device) const;
    bool valid() const { return map.width() > 0 && map.height() > 0; }
};

// The contour levels of the plan (kW/m²) besides the limit.
std::vector<double> PlanContourLevels();

LineChart DistanceChart(const Exploration &exploration, const QLocale &locale);
LineChart HeightChart(const Exploration &exploration, const QLocale &locale);
PlanLayout LayoutPlan(const QRectF &area, const Exploration &exploration, double unit);

void PaintView(QPainter &painter, const QRectF &area, ViewKind kind, const Exploration &exploration,
               const QLocale &locale);
void PaintPlan(QPainter &painter, const QRectF &area, const Exploration &exploration, const QLocale &locale);

// Numbers as the views write them: two decimals in the given locale, a dash for a value
// that is not a number.
QString Number(double value, const QLocale &locale, int decimals = 2);

} // namespace explore
