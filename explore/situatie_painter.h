#pragma once

#include "situatie_compute.h"
#include "situatie_model.h"
#include "situatie_viewport.h"
#include "underlay_content.h"

#include "chart_style.h"

#include <QLocale>
#include <QRectF>
#include <QTransform>

class QPainter;

namespace explore {

// The site rectangle "Passend" shows: the storages, the boundary, the receivers and the
// map's ground; with no site, the underlay.
QRectF SituatieBounds(const SituatieState &state, const SituatieResult *result,
                      const UnderlayContent *underlay);

// What is drawn: the state, as far as computed its map and check (null: not yet), the
// underlay's content (null: none loaded), the selection and the title of a file or print.
struct SituatieScene
{
    const SituatieState *state = nullptr;
    const SituatieResult *result = nullptr;
    const UnderlayContent *underlay = nullptr;
    Selection selection;
    bool handles = false; // the selected storage's rotation handle (on the screen)
    QString title;        // empty on the screen
};

// The colour of a boundary piece at `levelKw` against the limit: green up to half the
// limit, to amber at the limit, red above it.
QColor BoundaryColour(double levelKw, double limitKw);

// The rotation handle of a storage: a little beyond the middle of face 3.
QPointF RotationHandle(const SituatieViewport &viewport, const engine::SiteStorage &storage, double unit);

// The whole Situatie: underlay, colour map, contours (the limit bold and labelled), the
// boundary coloured by its level with its highest point, the storages with their names
// and face numbers, the receivers with their levels, the legend, the scale bar and the
// north arrow. Files and prints are drawn on paper; the screen passes its palette's colours.
void PaintSituatie(QPainter &painter, const SituatieViewport &viewport, const SituatieScene &scene,
                   const QLocale &locale, const plot::ChartColours &colours = plot::ChartColours::Paper());

// The area a viewport gets inside a drawing of `area`: below the title, if any.
QRectF SituatieMapArea(const QRectF &area, bool titled, double unit);

} // namespace explore
