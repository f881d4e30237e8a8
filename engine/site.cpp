#include "site.h"

#include "calculation_state.h"
#include "limit.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

// Geometry, not the method: full precision.
constexpr double kDegree = 3.14159265358979323846 / 180;

// cos r and sin r, exact for whole quarter turns so that a storage drawn along the axes
// stays on them.
SitePoint unitAlong(double rotation)
{
    double turn = std::fmod(rotation, 360.0);
    if (turn < 0)
        turn += 360;
    if (turn == 0)
        return {1, 0};
    if (turn == 90)
        return {0, 1};
    if (turn == 180)
        return {-1, 0};
    if (turn == 270)
        return {0, -1};
    return {std::cos(turn * kDegree), std::sin(turn * kDegree)};
}

SitePoint plus(SitePoint p, double length, SitePoint direction)
{
    return {p.x + length * direction.x, p.y + length * direction.y};
}

bool samePoint(SitePoint a, SitePoint b)
{
    return a.x == b.x && a.y == b.y;
}

bool sameStorage(const SiteStorage &a, const SiteStorage &b)
{
    if (a.name != b.name || a.indoor != b.indoor || a.compact != b.compact || !samePoint(a.corner, b.corner)
        || a.rotation != b.rotation || a.width != b.width || a.depth != b.depth || a.height != b.height
        || a.screens.size() != b.screens.size())
        return false;
    for (size_t i = 0; i < a.screens.size(); ++i) {
        const FaceScreen &s = a.screens[i];
        const FaceScreen &t = b.screens[i];
        if (s.face != t.face || s.hs != t.hs || s.xs != t.xs || s.K != t.K)
            return false;
    }
    return true;
}

} // namespace

bool SameSite(const Site &a, const Site &b)
{
    auto samePolyline = [](const std::vector<SitePoint> &p, const std::vector<SitePoint> &q) {
        return std::equal(p.begin(), p.end(), q.begin(), q.end(), samePoint);
    };
    auto sameReceiver = [](const SiteReceiver &r, const SiteReceiver &s) {
        return r.name == s.name && samePoint(r.at, s.at);
    };
    return a.heights == b.heights && a.limit == b.limit && a.envelope == b.envelope
        && std::equal(a.storages.begin(), a.storages.end(), b.storages.begin(), b.storages.end(), sameStorage)
        && std::equal(a.boundary.begin(), a.boundary.end(), b.boundary.begin(), b.boundary.end(),
                      samePolyline)
        && std::equal(a.receivers.begin(), a.receivers.end(), b.receivers.begin(), b.receivers.end(),
                      sameReceiver);
}

void SiteBox::take(SitePoint p)
{
    west = empty ? p.x : std::min(west, p.x);
    east = empty ? p.x : std::max(east, p.x);
    south = empty ? p.y : std::min(south, p.y);
    north = empty ? p.y : std::max(north, p.y);
    empty = false;
}

SiteBox SiteExtent(const Site &site)
{
    SiteBox box;
    for (const SiteStorage &storage : site.storages) {
        for (SitePoint corner : StorageCorners(storage))
            box.take(corner);
    }
    for (const std::vector<SitePoint> &polyline : site.boundary) {
        for (SitePoint p : polyline)
            box.take(p);
    }
    for (const SiteReceiver &receiver : site.receivers)
        box.take(receiver.at);
    return box;
}

std::array<SitePoint, 4> StorageCorners(const SiteStorage &storage)
{
    const SitePoint u = unitAlong(storage.rotation);
    const SitePoint v {-u.y, u.x};
    const SitePoint p1 = storage.corner;
    const SitePoint p2 = plus(p1, storage.width, u);
    const SitePoint p3 = plus(p2, storage.depth, v);
    const SitePoint p4 = plus(p1, storage.depth, v);
    return {p1, p2, p3, p4};
}

StorageFace FaceOf(const SiteStorage &storage, int face)
{
    const std::array<SitePoint, 4> corners = StorageCorners(storage);
    const SitePoint u = unitAlong(storage.rotation);
    const SitePoint v {-u.y, u.x};
    const SitePoint directions[4] = {u, v, {-u.x, -u.y}, {-v.x, -v.y}};
    const int k = std::clamp(face, 1, 4) - 1;
    StorageFace result;
    result.from = corners[std::size_t(k)];
    result.to = corners[std::size_t((k + 1) % 4)];
    result.direction = directions[k];
    // Turned clockwise: away from the storage, which lies to the face's left.
    result.normal = {result.direction.y, -result.direction.x};
    const bool alongWidth = k % 2 == 0;
    result.length = alongWidth ? storage.width : storage.depth;
    result.depth = alongWidth ? storage.depth : storage.width;
    return result;
}

FacePosition PositionBefore(const StorageFace &face, SitePoint q)
{
    const double dx = q.x - face.from.x;
    const double dy = q.y - face.from.y;
    return {dx * face.normal.x + dy * face.normal.y, dx * face.direction.x + dy * face.direction.y};
}

const FaceScreen *ScreenOf(const SiteStorage &storage, int face)
{
    for (const FaceScreen &screen : storage.screens) {
        if (screen.face == face)
            return &screen;
    }
    return nullptr;
}

CalculationInput FaceInput(const Site &site, const SiteStorage &storage, int face,
                           const FacePosition &position)
{
    const StorageFace geometry = FaceOf(storage, face);
    CalculationInput input;
    input.B = geometry.length;
    input.D = geometry.depth;
    input.H = storage.height;
    input.x = position.x;
    input.y = position.y;
    input.heights = site.heights;
    input.indoor = storage.indoor;
    input.compact = storage.compact;
    input.screen = false;
    input.hs = 0;
    input.xs = 0;
    input.K = 1;
    // A building has no screen in the method; a pile's screen stands between it and
    // the points beyond it only.
    const FaceScreen *screen = ScreenOf(storage, face);
    if (screen && !storage.indoor && position.x > screen->xs) {
        input.screen = true;
        input.hs = screen->hs;
        input.xs = screen->xs;
        input.K = screen->K;
    }
    return input;
}

bool IsInside(const SiteStorage &storage, SitePoint q)
{
    for (int k = 1; k <= 4; ++k) {
        if (PositionBefore(FaceOf(storage, k), q).x > 0)
            return false;
    }
    return true;
}

std::string StorageLabel(const Site &site, int storage)
{
    const std::string &name = site.storages[std::size_t(storage)].name;
    return name.empty() ? "opslag " + std::to_string(storage + 1) : name;
}

std::string FaceLabel(const Site &site, int storage, int face)
{
    return StorageLabel(site, storage) + ", zijde " + std::to_string(face);
}

CalculationStatus FaceLevelAt(const Site &site, int storage, int face, const FacePosition &position,
                              FaceLevel &out, std::string &message, char decimalSeparator)
{
    const SiteStorage &one = site.storages[std::size_t(storage)];
    const CalculationInput input = FaceInput(site, one, face, position);
    out = FaceLevel();
    out.storage = storage;
    out.face = face;
    out.x = position.x;
    out.y = position.y;
    CalculationStatus status = CalculationStatus::Ok;
    if (site.envelope && !one.indoor) {
        const HighestLevels highest = HighestAlong(input, {input.x}, true, decimalSeparator);
        status = highest.status;
        message = highest.message;
        if (highest.ok()) {
            out.level = highest.levels.front();
            out.height = highest.heights.front();
        }
    } else {
        CalculationState state;
        const CalculationResult calculated = Calculate(input, state, decimalSeparator);
        status = calculated.status;
        message = calculated.message;
        if (calculated.ok()) {
            const auto top = std::max_element(calculated.levels.begin(), calculated.levels.end());
            out.level = *top;
            out.height = calculated.firstHeightWritten
                ? calculated.firstHeight
                : input.heights[std::size_t(top - calculated.levels.begin())];
        }
    }
    if (status != CalculationStatus::Ok)
        message = FaceLabel(site, storage, face) + ": " + message;
    return status;
}

SiteLevel SiteLevelAt(const Site &site, SitePoint q, char decimalSeparator)
{
    SiteLevel result;
    for (std::size_t s = 0; s < site.storages.size(); ++s) {
        if (IsInside(site.storages[s], q)) {
            result.inside = true;
            result.insideStorage = int(s);
            return result;
        }
    }
    bool first = true;
    for (std::size_t s = 0; s < site.storages.size(); ++s) {
        const SiteStorage &storage = site.storages[s];
        for (int k = 1; k <= 4; ++k) {
            const FacePosition position = PositionBefore(FaceOf(storage, k), q);
            if (!(position.x > 0))
                continue;
            FaceLevel face;
            std::string message;
            const CalculationStatus status =
                FaceLevelAt(site, int(s), k, position, face, message, decimalSeparator);
            if (status != CalculationStatus::Ok) {
                result.status = status;
                result.message = message;
                result.faces.clear();
                return result;
            }
            result.faces.push_back(face);
            if (first || face.level > result.level) {
                result.level = face.level;
                result.governing = face;
                first = false;
            }
        }
    }
    return result;
}

} // namespace engine
