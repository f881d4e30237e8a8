#include "site_map.h"

#include "chunked_run.h"
#include "limit.h"
#include "site_picture.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

namespace engine {
namespace {

constexpr std::size_t kNodeChunk = 32;
// Exact levels nearer to a face than this are not left to the picture's judgement.
constexpr double kNearFace = 0.1; // m

SiteMap refusedMap(CalculationStatus status, const std::string &message)
{
    SiteMap map;
    map.status = status;
    map.message = message;
    return map;
}

SitePoint nodeAt(const SiteGrid &grid, std::size_t node)
{
    const std::size_t columns = grid.x.size();
    return {grid.x[node % columns], grid.y[node / columns]};
}

// A node whose level is not a number although it lies outside every storage refuses the
// map as Calculate refuses such a point.
SiteMap checked(const detail::SitePicture &picture, const SiteGrid &grid, std::vector<double> levels,
                char decimalSeparator)
{
    detail::SiteWorkspace work;
    for (std::size_t node = 0; node < levels.size(); ++node) {
        if (!std::isnan(levels[node]) || !picture.collect(nodeAt(grid, node), work))
            continue;
        std::string text;
        const CalculationResult refusal = detail::refuseLevel(levels[node], decimalSeparator, text);
        return refusedMap(refusal.status, refusal.message);
    }
    SiteMap map;
    map.levels = std::move(levels);
    return map;
}

// One node's face that the exact map computes.
struct ExactTask
{
    std::size_t node;
    const detail::PreparedFace *face;
    FacePosition position;
    double level = 0;
};

} // namespace

SiteMap CalculateSitePicture(const Site &site, const SiteGrid &grid, const FieldOptions &options,
                             const std::function<bool()> &cancelled, char decimalSeparator)
{
    const detail::SitePicture picture(site, decimalSeparator);
    if (!picture.ok())
        return refusedMap(picture.status(), picture.message());
    std::vector<double> levels(grid.x.size() * grid.y.size());
    const auto makeWorker = [&]() -> std::function<void(std::size_t, std::size_t)> {
        auto work = std::make_shared<detail::SiteWorkspace>();
        return [&, work](std::size_t begin, std::size_t end) {
            for (std::size_t node = begin; node < end; ++node)
                levels[node] = picture.highest(nodeAt(grid, node), *work);
        };
    };
    if (!detail::RunChunked(levels.size(), kNodeChunk, options, cancelled, makeWorker))
        return {};
    return checked(picture, grid, std::move(levels), decimalSeparator);
}

SiteMap CalculateSiteHighest(const Site &site, const SiteGrid &grid, const FieldOptions &options,
                             const std::function<bool()> &cancelled, char decimalSeparator)
{
    const detail::SitePicture picture(site, decimalSeparator);
    if (!picture.ok())
        return refusedMap(picture.status(), picture.message());

    // Which faces could give each node's highest: those whose picture lies within the
    // picture's tolerance of the node's highest picture.
    const std::size_t nodes = grid.x.size() * grid.y.size();
    std::vector<double> levels(nodes, std::nan(""));
    std::vector<std::vector<ExactTask>> found(nodes);
    const auto makeChooser = [&]() -> std::function<void(std::size_t, std::size_t)> {
        auto work = std::make_shared<detail::SiteWorkspace>();
        return [&, work](std::size_t begin, std::size_t end) {
            for (std::size_t node = begin; node < end; ++node) {
                const double highest = picture.highest(nodeAt(grid, node), *work);
                levels[node] = highest;
                if (std::isnan(highest))
                    continue;
                const double floor = highest - 2 * detail::SitePicture::tolerance(highest);
                for (detail::FaceCandidate &candidate : work->candidates) {
                    if (candidate.bound < floor)
                        break;
                    if (!candidate.computed) {
                        if (picture.closeBound(*candidate.face, candidate.position) < floor
                            && candidate.position.x >= kNearFace)
                            continue;
                        candidate.picture = picture.faceLevel(*candidate.face, candidate.position, *work);
                        candidate.computed = true;
                    }
                    if (candidate.picture >= floor || candidate.position.x < kNearFace)
                        found[node].push_back({node, candidate.face, candidate.position, 0});
                }
            }
        };
    };
    if (!detail::RunChunked(nodes, kNodeChunk, options, cancelled, makeChooser))
        return {};
    SiteMap map = checked(picture, grid, levels, decimalSeparator);
    if (!map.ok())
        return map;

    std::vector<ExactTask> tasks;
    for (std::vector<ExactTask> &node : found)
        tasks.insert(tasks.end(), node.begin(), node.end());
    found.clear();

    // Without the envelope: one many-points calculation per face and side of its screen.
    if (!site.envelope) {
        std::map<std::pair<const detail::PreparedFace *, bool>, std::vector<std::size_t>> groups;
        for (std::size_t t = 0; t < tasks.size(); ++t) {
            const detail::PreparedFace &face = *tasks[t].face;
            groups[{&face, face.screened && tasks[t].position.x > face.screenDistance}].push_back(t);
        }
        for (const auto &[key, members] : groups) {
            const CalculationInput &input = key.second ? key.first->shielded : key.first->plain;
            std::vector<FieldPoint> points;
            for (std::size_t t : members) {
                for (double z : input.heights)
                    points.push_back({tasks[t].position.x, tasks[t].position.y, z});
            }
            const FieldResult field = CalculateField(input, points, decimalSeparator, options);
            if (!field.ok())
                return refusedMap(field.status,
                                  FaceLabel(site, key.first->storage, key.first->face) + ": "
                                      + field.message);
            for (std::size_t m = 0; m < members.size(); ++m) {
                const auto first = field.levels.begin() + std::ptrdiff_t(m * input.heights.size());
                tasks[members[m]].level =
                    *std::max_element(first, first + std::ptrdiff_t(input.heights.size()));
            }
            if (cancelled && cancelled())
                return {};
        }
    } else {
        std::mutex refusalLock;
        SiteMap refusal;
        const auto makeWorker = [&]() -> std::function<void(std::size_t, std::size_t)> {
            return [&](std::size_t begin, std::size_t end) {
                for (std::size_t t = begin; t < end; ++t) {
                    const detail::PreparedFace &face = *tasks[t].face;
                    FaceLevel level;
                    std::string message;
                    const CalculationStatus status = FaceLevelAt(
                        site, face.storage, face.face, tasks[t].position, level, message, decimalSeparator);
                    if (status != CalculationStatus::Ok) {
                        const std::lock_guard<std::mutex> lock(refusalLock);
                        refusal = refusedMap(status, message);
                    }
                    tasks[t].level = level.level;
                }
            };
        };
        if (!detail::RunChunked(tasks.size(), 1, options, cancelled, makeWorker))
            return {};
        if (!refusal.ok())
            return refusal;
    }

    std::vector<bool> seen(nodes, false);
    for (const ExactTask &task : tasks) {
        double &level = map.levels[task.node];
        level = seen[task.node] ? std::max(level, task.level) : task.level;
        seen[task.node] = true;
    }
    return map;
}

ScalarGrid SiteScalarGrid(const SiteGrid &grid, const SiteMap &map)
{
    ScalarGrid scalar;
    scalar.nx = int(grid.x.size());
    scalar.ny = int(grid.y.size());
    scalar.x0 = grid.x.front();
    scalar.y0 = grid.y.front();
    scalar.dx = scalar.nx > 1 ? (grid.x.back() - grid.x.front()) / (scalar.nx - 1) : 1;
    scalar.dy = scalar.ny > 1 ? (grid.y.back() - grid.y.front()) / (scalar.ny - 1) : 1;
    for (double level : map.levels)
        scalar.values.push_back(level / 1000);
    return scalar;
}

} // namespace engine
