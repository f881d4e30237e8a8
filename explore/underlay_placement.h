#pragma once

#include "site.h"

#include <QPointF>
#include <QString>
#include <QTransform>

namespace explore {

// Where a raster image or a PDF page lies on the site: the drawing's own units (pixels of
// the image, points of the page; x to the right, y down) turned, scaled and moved onto the
// ground (metres, x east, y north). Drawing point d lands at
//     origin + scale · R(rotation) · (d.x, −d.y)
// so the drawing is never mirrored.
struct UnderlayPlacement
{
    engine::SitePoint origin; // where the drawing's (0, 0), its top left corner, lands
    double scale = 1;         // metres per drawing unit
    double rotation = 0;      // degrees counterclockwise

    engine::SitePoint siteOf(const QPointF &drawing) const;
    QPointF drawingOf(engine::SitePoint site) const;
    // Drawing units to site metres, as a QTransform (y up).
    QTransform toSite() const;
    bool valid() const;
};

bool operator==(const UnderlayPlacement &a, const UnderlayPlacement &b);
inline bool operator!=(const UnderlayPlacement &a, const UnderlayPlacement &b)
{
    return !(a == b);
}

// The placement that puts drawing points `first` and `second` at the site points typed
// for them: scale, rotation and position. False with a Dutch reason when either pair
// coincides or the scale would leave the program's range.
bool PlaceByCoordinates(const QPointF &first, const QPointF &second, engine::SitePoint firstSite,
                        engine::SitePoint secondSite, UnderlayPlacement &placement, QString &reason);

// The placement whose scale makes the two drawing points `distance` metres apart; the
// rotation stays, and so does the spot of the site under `first`.
bool PlaceByDistance(const QPointF &first, const QPointF &second, double distance,
                     const UnderlayPlacement &current, UnderlayPlacement &placement, QString &reason);

} // namespace explore
