#pragma once

#include "situatie_compute.h"
#include "situatie_viewport.h"

#include "chart_style.h"

#include <QLocale>
#include <QRectF>

class QPainter;
class QFontMetricsF;

namespace explore {

// What stands in the corners of the Situatie's map: the colour scale at the top right, the
// north arrow at the top left, the scale bar at the bottom left.

struct SituatieOverlayAreas
{
    QRectF legend;
    QRectF arrow;
    QRectF scale;
};

// Where they stand, so that labels keep clear of them.
SituatieOverlayAreas OverlayAreas(const SituatieViewport &viewport, const QFontMetricsF &metrics,
                                  const QLocale &locale, double unit);

void DrawLegend(QPainter &painter, const QRectF &map, const SituatieMap &levels, double limitKw,
                const QLocale &locale, const plot::ChartColours &colours, double u);
void DrawScaleBar(QPainter &painter, const SituatieViewport &viewport, const QLocale &locale,
                  const plot::ChartColours &colours, double u);
// North is up: the arrow says so.
void DrawNorthArrow(QPainter &painter, const QRectF &map, const plot::ChartColours &colours, double u);

} // namespace explore
