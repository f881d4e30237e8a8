#pragma once

#include "site.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>

namespace explore {

// Where the site lies on a drawing area: from above, north up, at `scale` device units
// per metre with the site point `centre` in the middle of `area`.
struct SituatieViewport
{
    QRectF area;
    engine::SitePoint centre;
    double scale = 1;

    QPointF toDevice(engine::SitePoint site) const;
    engine::SitePoint toSite(const QPointF &device) const;
    QTransform transform() const; // site metres to device
    QRectF visibleSite() const;   // the site rectangle the area shows
    bool valid() const { return area.width() > 0 && area.height() > 0 && scale > 0; }

    // The viewport that shows all of `site` (a site rectangle) in `area`, with a margin.
    static SituatieViewport fit(const QRectF &area, const QRectF &site);
};

} // namespace explore
