#pragma once

#include "exploration.h"
#include "line_chart.h"

#include <QFont>
#include <QLocale>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;
class QPaintDevice;

namespace explore {

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

PlanLayout LayoutPlan(const QRectF &area, const Exploration &exploration, double unit);

// The contour levels of the plan (kW/m²) besides the limit.
std::vector<double> PlanContourLevels();

struct PlanLabel
{
    QRectF box;
    QString text;
    bool bold = false; // the limit's
};

// The plan's texts on the map: the storage's and the screen's names, the assessment
// point's name, the limit's level on its line and the other levels on theirs. Each is
// placed clear of the others and of the point's symbol, inside the map; a contour's
// level that finds no free place is left out.
struct PlanLabels
{
    QRectF pointSymbol; // empty when the point lies outside the map
    std::vector<PlanLabel> labels;
};

// `font` is the views' text font (plot::TextFont of the painter's).
PlanLabels LayoutPlanLabels(const PlanLayout &layout, const Exploration &exploration,
                            const QPaintDevice *device, const QFont &font, const QLocale &locale);

// Files and prints are drawn on paper; the screen passes its palette's colours.
void PaintPlan(QPainter &painter, const QRectF &area, const Exploration &exploration, const QLocale &locale,
               const plot::ChartColours &colours = plot::ChartColours::Paper());

} // namespace explore
