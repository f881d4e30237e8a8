#include "underlay_placement.h"

#include "case_file.h"

#include <cmath>

namespace explore {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180;
// Metres per drawing unit: from a thousandth of a millimetre to a kilometre.
constexpr double kSmallestScale = 1e-6;
constexpr double kLargestScale = 1000;

double length(double x, double y)
{
    return std::hypot(x, y);
}

// An angle in degrees in (−180, 180].
double normalised(double degrees)
{
    double angle = std::fmod(degrees, 360.0);
    if (angle <= -180)
        angle += 360;
    if (angle > 180)
        angle -= 360;
    return angle;
}

bool scaleInRange(double scale, QString &reason)
{
    if (std::isfinite(scale) && scale >= kSmallestScale && scale <= kLargestScale)
        return true;
    reason = QStringLiteral("Deze plaatsing geeft een schaal buiten het bereik van 0,000001 tot 1000 m per "
                            "beeldpunt; kies twee punten verder uit elkaar.");
    return false;
}

} // namespace

engine::SitePoint UnderlayPlacement::siteOf(const QPointF &drawing) const
{
    const double c = std::cos(rotation * kDegree);
    const double s = std::sin(rotation * kDegree);
    const double x = scale * drawing.x();
    const double y = -scale * drawing.y();
    return {origin.x + c * x - s * y, origin.y + s * x + c * y};
}

QPointF UnderlayPlacement::drawingOf(engine::SitePoint site) const
{
    const double c = std::cos(rotation * kDegree);
    const double s = std::sin(rotation * kDegree);
    const double dx = site.x - origin.x;
    const double dy = site.y - origin.y;
    return {(c * dx + s * dy) / scale, -(-s * dx + c * dy) / scale};
}

QTransform UnderlayPlacement::toSite() const
{
    const double c = std::cos(rotation * kDegree);
    const double s = std::sin(rotation * kDegree);
    // Row vectors: site = (dx, dy) · [m11 m12; m21 m22] + (origin).
    return QTransform(scale * c, scale * s, scale * s, -scale * c, origin.x, origin.y);
}

bool UnderlayPlacement::valid() const
{
    return std::isfinite(origin.x) && std::isfinite(origin.y)
        && std::abs(origin.x) <= casefile::kMaximumCoordinate
        && std::abs(origin.y) <= casefile::kMaximumCoordinate && std::isfinite(scale)
        && scale >= kSmallestScale && scale <= kLargestScale && std::isfinite(rotation)
        && std::abs(rotation) <= 360;
}

bool operator==(const UnderlayPlacement &a, const UnderlayPlacement &b)
{
    return a.origin.x == b.origin.x && a.origin.y == b.origin.y && a.scale == b.scale
        && a.rotation == b.rotation;
}

bool PlaceByCoordinates(const QPointF &first, const QPointF &second, engine::SitePoint firstSite,
                        engine::SitePoint secondSite, UnderlayPlacement &placement, QString &reason)
{
    // The drawing's y points down: turned up, it is a vector like the site's.
    const double ax = second.x() - first.x();
    const double ay = -(second.y() - first.y());
    const double bx = secondSite.x - firstSite.x;
    const double by = secondSite.y - firstSite.y;
    if (!(length(ax, ay) > 1e-9)) {
        reason =
            QStringLiteral("De twee punten op de tekening vallen samen; klik twee punten ver uit elkaar.");
        return false;
    }
    if (!(length(bx, by) > 1e-9)) {
        reason =
            QStringLiteral("De twee punten op de situatie vallen samen; geef twee verschillende punten.");
        return false;
    }
    UnderlayPlacement result;
    result.scale = length(bx, by) / length(ax, ay);
    if (!scaleInRange(result.scale, reason))
        return false;
    result.rotation = normalised((std::atan2(by, bx) - std::atan2(ay, ax)) / kDegree);
    // The rotation's sine and cosine are taken again from the angle: the origin follows
    // from the same numbers siteOf() uses, so that the first point lands exactly.
    const engine::SitePoint turned = result.siteOf(first);
    result.origin = {firstSite.x - turned.x, firstSite.y - turned.y};
    placement = result;
    return true;
}

bool PlaceByDistance(const QPointF &first, const QPointF &second, double distance,
                     const UnderlayPlacement &current, UnderlayPlacement &placement, QString &reason)
{
    const double apart = length(second.x() - first.x(), second.y() - first.y());
    if (!(apart > 1e-9)) {
        reason =
            QStringLiteral("De twee punten op de tekening vallen samen; klik twee punten ver uit elkaar.");
        return false;
    }
    if (!(distance > 0) || !std::isfinite(distance)) {
        reason = QStringLiteral("De afstand tussen de punten moet groter zijn dan 0 m.");
        return false;
    }
    UnderlayPlacement result = current;
    result.scale = distance / apart;
    if (!scaleInRange(result.scale, reason))
        return false;
    const engine::SitePoint stays = current.siteOf(first);
    result.origin = {0, 0};
    const engine::SitePoint moved = result.siteOf(first);
    result.origin = {stays.x - moved.x, stays.y - moved.y};
    placement = result;
    return true;
}

} // namespace explore
