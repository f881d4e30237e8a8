#include "situatie_compute.h"

#include "colour_scale.h"
#include "exploration.h"

#include "limit.h"
#include "site_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <tuple>

namespace explore {
namespace {

constexpr double kWidestMargin = 500; // m
constexpr double kLeastMargin = 5;    // m
// Below this level, half the lowest contour's, the map fades into the ground (and the
// drawing under it): what matters is where the levels are high.
constexpr double kFadeBelowKw = 2.5;
// Boundary colours: at most this many samples over all polylines.
constexpr double kMostBoundarySamples = 20000;

// The distance in front of a storage's faces 1 and 2 (its two sizes) where the level
// falls to `levelKw`, screens left out. The solver takes some milliseconds, and a
// storage dragged over the site keeps its sizes: the answers are kept.
double storageMargin(const engine::Site &site, const engine::SiteStorage &storage, double levelKw)
{
    using Key = std::tuple<double, double, double, bool, bool, std::array<double, 5>, bool, double>;
    static std::mutex lock;
    static std::map<Key, double> known;
    const Key key {storage.width,   storage.depth, storage.height, storage.indoor,
                   storage.compact, site.heights,  site.envelope,  levelKw};
    {
        const std::lock_guard<std::mutex> guard(lock);
        if (const auto found = known.find(key); found != known.end())
            return found->second;
    }
    engine::SiteStorage plain = storage;
    plain.screens.clear();
    plain.corner = {0, 0};
    plain.rotation = 0;
    double margin = 0;
    for (int face = 1; face <= 2; ++face) {
        const engine::StorageFace geometry = engine::FaceOf(plain, face);
        const engine::CalculationInput input = engine::FaceInput(site, plain, face, {1, geometry.length / 2});
        const engine::Solution solution =
            engine::Solve(input, engine::SolveQuantity::Distance, levelKw, site.envelope);
        margin = std::max(margin, solution.found ? solution.value : kWidestMargin);
    }
    margin = std::clamp(margin * 1.1 + 2, kLeastMargin, kWidestMargin);
    const std::lock_guard<std::mutex> guard(lock);
    if (known.size() > 1000)
        known.clear();
    known.emplace(key, margin);
    return margin;
}

// A round step (1, 2, 2.5 or 5 times a power of ten) not below `step`.
double roundStep(double step)
{
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double factor : {1.0, 2.0, 2.5, 5.0}) {
        if (factor * power >= step * (1 - 1e-12))
            return factor * power;
    }
    return 10 * power;
}

double colourTop(double highestKw, double limitKw)
{
    return std::max(10.0, std::ceil(std::max(highestKw, limitKw) / 10) * 10);
}

std::vector<SituatieContour> contoursOf(const engine::ScalarGrid &levels, double limitKw)
{
    std::vector<SituatieContour> contours;
    for (double level : SituatieContourLevels()) {
        if (std::abs(level - limitKw) > 1e-9)
            contours.push_back({level, false, engine::ContourLines(levels, level)});
    }
    contours.push_back({limitKw, true, engine::ContourLines(levels, limitKw)});
    return contours;
}

QImage colourImage(const engine::ScalarGrid &levels, double topKw)
{
    QImage image(levels.nx, levels.ny, QImage::Format_ARGB32);
    for (int j = 0; j < levels.ny; ++j) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(levels.ny - 1 - j));
        for (int i = 0; i < levels.nx; ++i)
            row[i] = MapColour(levels.value(i, j), topKw);
    }
    return image;
}

} // namespace

std::vector<double> SituatieContourLevels()
{
    return {5, 10, 20, 30};
}

QRectF SituatieExtent(const engine::Site &site)
{
    double west = 0, east = 0, south = 0, north = 0;
    bool first = true;
    const auto take = [&](engine::SitePoint p, double margin) {
        west = first ? p.x - margin : std::min(west, p.x - margin);
        east = first ? p.x + margin : std::max(east, p.x + margin);
        south = first ? p.y - margin : std::min(south, p.y - margin);
        north = first ? p.y + margin : std::max(north, p.y + margin);
        first = false;
    };
    const double lowest = std::min(SituatieContourLevels().front(), site.limit);
    for (const engine::SiteStorage &storage : site.storages) {
        const double margin = storageMargin(site, storage, lowest);
        for (engine::SitePoint corner : engine::StorageCorners(storage))
            take(corner, margin);
    }
    for (const std::vector<engine::SitePoint> &polyline : site.boundary) {
        for (engine::SitePoint p : polyline)
            take(p, kLeastMargin);
    }
    for (const engine::SiteReceiver &receiver : site.receivers)
        take(receiver.at, kLeastMargin);
    if (first)
        return {};
    return QRectF(QPointF(west, south), QPointF(east, north));
}

engine::SiteGrid SituatieGrid(const QRectF &extent, int nodes)
{
    engine::SiteGrid grid;
    const double span = std::max(extent.width(), extent.height());
    if (!(span > 0) || nodes < 2)
        return grid;
    const double step = roundStep(span / (nodes - 1));
    const double x0 = std::floor(extent.left() / step) * step;
    const double y0 = std::floor(extent.top() / step) * step;
    for (int i = 0; i < nodes + 1 && x0 + (i - 1) * step < extent.right(); ++i)
        grid.x.push_back(x0 + i * step);
    for (int j = 0; j < nodes + 1 && y0 + (j - 1) * step < extent.bottom(); ++j)
        grid.y.push_back(y0 + j * step);
    return grid;
}

QRgb MapColour(double levelKw, double topKw)
{
    if (!std::isfinite(levelKw))
        return qRgba(0, 0, 0, 0);
    const QColor colour = ViridisColour(levelKw / topKw);
    const double alpha = std::clamp(levelKw / kFadeBelowKw, 0.0, 1.0);
    const int a = int(std::lround(255 * alpha));
    return qRgba(colour.red(), colour.green(), colour.blue(), a);
}

bool ComputeSituatieMap(const engine::Site &site, const engine::SiteGrid &grid, SituatiePrecision precision,
                        SituatieMap &map, QString &refusal, const std::function<bool()> &cancelled)
{
    refusal.clear();
    if (grid.x.size() < 2 || grid.y.size() < 2)
        return false;
    const char separator = LocaleDecimalSeparator();
    const engine::SiteMap levels = precision == SituatiePrecision::Exact
        ? engine::CalculateSiteHighest(site, grid, {}, cancelled, separator)
        : engine::CalculateSitePicture(site, grid, {}, cancelled, separator);
    if (!levels.ok()) {
        refusal = QString::fromStdString(levels.message);
        return false;
    }
    if (levels.levels.size() != grid.x.size() * grid.y.size())
        return false; // cancelled
    SituatieMap result;
    result.precision = precision;
    result.grid = grid;
    result.levels = engine::SiteScalarGrid(grid, levels);
    for (double value : result.levels.values) {
        if (std::isfinite(value))
            result.highestKw = std::max(result.highestKw, value);
    }
    result.topKw = colourTop(result.highestKw, site.limit);
    result.colours = colourImage(result.levels, result.topKw);
    result.contours = contoursOf(result.levels, site.limit);
    map = std::move(result);
    return true;
}

std::vector<BoundaryLevels> ComputeBoundaryLevels(const engine::Site &site)
{
    std::vector<BoundaryLevels> result;
    const engine::detail::SitePicture picture(site, LocaleDecimalSeparator());
    if (!picture.ok())
        return result;
    double total = 0;
    for (const std::vector<engine::SitePoint> &polyline : site.boundary) {
        for (std::size_t i = 1; i < polyline.size(); ++i)
            total += std::hypot(polyline[i].x - polyline[i - 1].x, polyline[i].y - polyline[i - 1].y);
    }
    const double spacing = std::max(kBoundaryColourSpacing, total / kMostBoundarySamples);
    engine::detail::SiteWorkspace work;
    for (const std::vector<engine::SitePoint> &polyline : site.boundary) {
        BoundaryLevels levels;
        levels.points = engine::BoundarySamples(polyline, spacing);
        for (engine::SitePoint p : levels.points)
            levels.levelsKw.push_back(picture.highest(p, work) / 1000);
        result.push_back(std::move(levels));
    }
    return result;
}

void ComputeSituatie(const engine::Site &site, const std::function<bool()> &outdated,
                     const SituatieSender &send)
{
    auto state = std::make_shared<SituatieResult>();
    state->site = site;
    const QRectF extent = SituatieExtent(site);
    const auto stage = [&](SituatiePrecision precision, int nodes) {
        SituatieMap map;
        QString refusal;
        if (ComputeSituatieMap(site, SituatieGrid(extent, nodes), precision, map, refusal, outdated)) {
            state->map = std::move(map);
            state->hasMap = true;
        }
        state->refusal = refusal;
        return !outdated() && refusal.isEmpty();
    };
    if (!stage(SituatiePrecision::Coarse, kCoarseNodes)) {
        state->final = true;
        send(outdated() ? nullptr : state, true);
        return;
    }
    send(std::make_shared<SituatieResult>(*state), false);

    state->check = engine::CheckSite(site, LocaleDecimalSeparator());
    if (outdated()) {
        send(nullptr, true);
        return;
    }
    if (!state->check.ok()) {
        state->refusal = QString::fromStdString(state->check.message);
        state->final = true;
        send(state, true);
        return;
    }
    state->hasCheck = true;
    state->boundary = ComputeBoundaryLevels(site);
    send(std::make_shared<SituatieResult>(*state), false);

    for (SituatiePrecision precision : {SituatiePrecision::Picture, SituatiePrecision::Exact}) {
        if (!stage(precision, kFullNodes)) {
            if (outdated()) {
                send(nullptr, true);
                return;
            }
            break;
        }
        state->final = precision == SituatiePrecision::Exact;
        send(std::make_shared<SituatieResult>(*state), state->final);
        if (state->final)
            return;
    }
    state->final = true;
    send(state, true);
}

} // namespace explore
