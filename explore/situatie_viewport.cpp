#include "situatie_viewport.h"

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

constexpr double kFitMargin = 0.04; // of the area, around what "Passend" shows

} // namespace

QPointF SituatieViewport::toDevice(engine::SitePoint site) const
{
    return {area.center().x() + (site.x - centre.x) * scale, area.center().y() - (site.y - centre.y) * scale};
}

engine::SitePoint SituatieViewport::toSite(const QPointF &device) const
{
    return {centre.x + (device.x() - area.center().x()) / scale,
            centre.y - (device.y() - area.center().y()) / scale};
}

QTransform SituatieViewport::transform() const
{
    return QTransform(scale, 0, 0, -scale, area.center().x() - centre.x * scale,
                      area.center().y() + centre.y * scale);
}

QRectF SituatieViewport::visibleSite() const
{
    const engine::SitePoint a = toSite(area.topLeft());
    const engine::SitePoint b = toSite(area.bottomRight());
    return QRectF(QPointF(a.x, b.y), QPointF(b.x, a.y));
}

SituatieViewport SituatieViewport::fit(const QRectF &area, const QRectF &site)
{
    SituatieViewport viewport;
    viewport.area = area;
    const QRectF shown = site.isValid() && site.width() > 0 && site.height() > 0
        ? site
        : QRectF(site.center() - QPointF(50, 50), QSizeF(100, 100));
    viewport.centre = {shown.center().x(), shown.center().y()};
    const double room = 1 - 2 * kFitMargin;
    viewport.scale = std::min(area.width() * room / shown.width(), area.height() * room / shown.height());
    if (!(viewport.scale > 0) || !std::isfinite(viewport.scale))
        viewport.scale = 1;
    return viewport;
}

} // namespace explore
