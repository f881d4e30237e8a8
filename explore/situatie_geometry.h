#pragma once

// Small pieces of the Situatie's geometry shared by its mouse handling: distances on the
// screen, positions to the centimetre, a storage's centre and the corner that keeps it.

#include "site.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <string>

namespace explore::situatie {

inline constexpr double kDegree = 3.14159265358979323846 / 180;
// How near the mouse must come to a point or line to take it (pixels of a 96 dpi screen).
inline constexpr double kPickDistance = 7;

inline double DistanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// Positions in the case to the centimetre: what the mouse gives finer than that is noise.
inline double Centimetres(double metres)
{
    return std::round(metres * 100) / 100;
}

inline engine::SitePoint Rounded(engine::SitePoint p)
{
    return {Centimetres(p.x), Centimetres(p.y)};
}

// The first of "Opslag A", "Opslag B", … (or "Ontvanger 1", …) that the site does not use.
inline std::string FreeStorageName(const engine::Site &site)
{
    for (int n = 0;; ++n) {
        std::string name = "Opslag ";
        if (n >= 26)
            name += char('A' + n / 26 - 1);
        name += char('A' + n % 26);
        const bool used = std::any_of(site.storages.begin(), site.storages.end(),
                                      [&](const engine::SiteStorage &s) { return s.name == name; });
        if (!used)
            return name;
    }
}

inline std::string FreeReceiverName(const engine::Site &site)
{
    for (std::size_t n = site.receivers.size() + 1;; ++n) {
        const std::string name = "Ontvanger " + std::to_string(n);
        const bool used = std::any_of(site.receivers.begin(), site.receivers.end(),
                                      [&](const engine::SiteReceiver &r) { return r.name == name; });
        if (!used)
            return name;
    }
}

inline engine::SitePoint StorageCentre(const engine::SiteStorage &storage)
{
    const auto corners = engine::StorageCorners(storage);
    return {(corners[0].x + corners[2].x) / 2, (corners[0].y + corners[2].y) / 2};
}

// The corner P1 that puts the storage's centre at `centre` when it is turned by `rotation`.
inline engine::SitePoint CornerFor(const engine::SiteStorage &storage, engine::SitePoint centre,
                                   double rotation)
{
    const double c = std::cos(rotation * kDegree);
    const double s = std::sin(rotation * kDegree);
    const double w = storage.width / 2;
    const double d = storage.depth / 2;
    return {centre.x - (c * w - s * d), centre.y - (s * w + c * d)};
}

} // namespace explore::situatie
