#include "field.h"

#include "fire_models.h"
#include "kernel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <utility>

namespace engine {
namespace {

// Points handed to a thread at a time: big enough that the threads rarely meet at the
// counter, small enough that they finish together.
constexpr std::size_t kChunk = 64;

// The storage's share of the calculation, computed once: its state, flame profile and
// strip edges. Each point adds its own distance, position and height.
struct Storage
{
    const CalculationInput &input;
    CalculationState state;
    detail::FlameProfile profile;
};

void computeLevels(const Storage &storage, const std::vector<FieldPoint> &points, std::vector<double> &levels,
                   std::atomic<std::size_t> &next)
{
    const CalculationInput &input = storage.input;
    const CalculationState &state = storage.state;
    detail::OutdoorPoint point = detail::storagePoint(state, input.screen);
    detail::StripWork work;
    std::array<double, CalculationState::ArraySize> viewFactor;
    std::array<double, CalculationState::ArraySize> flux;
    for (;;) {
        const std::size_t begin = next.fetch_add(kChunk);
        if (begin >= points.size())
            return;
        const std::size_t end = std::min(points.size(), begin + kChunk);
        for (std::size_t i = begin; i < end; ++i) {
            const FieldPoint &p = points[i];
            const double x = p.x + 1e-8;
            const double f = detail::pointFraction(input, state.CountedFaceWidth, p.y);
            if (input.indoor) {
                levels[i] = detail::indoorLevel(x, state.StorageHeight, state.StorageWidth, f);
                continue;
            }
            point.x = x;
            point.f = f;
            point.z = p.z;
            detail::StripResult strips {viewFactor.data(), flux.data()};
            levels[i] = detail::outdoorLevel(point, storage.profile, work, strips);
        }
    }
}

unsigned threadCount(const FieldOptions &options, std::size_t tasks, std::size_t chunk)
{
    const unsigned threads =
        options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(
        std::max<std::size_t>(1, std::min<std::size_t>(threads, (tasks + chunk - 1) / chunk)));
}

// The first level in the order given that the method cannot give, as the refusal of
// the whole field; Ok when there is none.
CalculationResult firstRefusal(const std::vector<double> &levels, char decimalSeparator)
{
    for (double level : levels) {
        if (std::isfinite(level) && level >= 0)
            continue;
        std::string text;
        const CalculationResult refusal = detail::refuseLevel(level, decimalSeparator, text);
        if (!refusal.ok())
            return refusal;
    }
    return {};
}

// A picture's edge arrays: the 401 edges and room for the widest vector past them.
constexpr std::size_t kPictureEdges = detail::kFlameStrips + 1 + 16;
using PictureEdges = std::array<float, kPictureEdges>;

// What every grid point of a picture shares: the storage and its flame, the strips'
// σT⁴, the heights of each judged point above the strip edges, and the rows that
// differ (two rows with the same widths left and right of their foot are one).
struct Picture
{
    const CalculationInput &input;
    const FieldGrid &grid;
    CalculationState state;
    detail::FlameProfile profile;
    PictureEdges radiance {};
    std::vector<PictureEdges> heights;
    std::vector<std::pair<double, double>> widths; // per distinct row
    std::vector<double> levels;                    // per distinct row and column
};

void computePicture(Picture &picture, std::atomic<std::size_t> &next, std::atomic<bool> &stop,
                    const std::function<bool()> &cancelled)
{
    constexpr std::size_t chunk = 16;
    const std::size_t columns = picture.grid.x.size();
    const std::size_t tasks = picture.widths.size() * columns;
    detail::OutdoorPoint point = detail::storagePoint(picture.state, picture.input.screen);
    PictureEdges left {};
    PictureEdges right {};
    detail::PictureTask task;
    task.strips = detail::kFlameStrips;
    task.radiance = picture.radiance.data();
    task.left = left.data();
    task.right = right.data();
    for (;;) {
        if (cancelled && cancelled())
            stop = true;
        const std::size_t begin = stop ? tasks : next.fetch_add(chunk);
        if (begin >= tasks)
            return;
        for (std::size_t t = begin; t < std::min(tasks, begin + chunk); ++t) {
            const std::pair<double, double> &row = picture.widths[t / columns];
            const double x = picture.grid.x[t % columns] + 1e-8;
            point.x = x;
            task.distance = x;
            task.leftWidth = row.first;
            task.rightWidth = row.second;
            const double transmission = detail::transmission(x);
            double highest = 0;
            for (std::size_t h = 0; h < picture.heights.size(); ++h) {
                point.z = picture.grid.heights[h];
                task.shieldedStrips = detail::shieldedStrips(point);
                task.heights = picture.heights[h].data();
                double level = std::nan("");
                if (task.shieldedStrips >= 0) {
                    const detail::PictureSums sums = detail::PictureStrips(task);
                    level = (sums.total - point.K * sums.shielded) * transmission;
                }
                if (!std::isfinite(level)) {
                    highest = level;
                    break;
                }
                highest = std::max(highest, level);
            }
            picture.levels[t] = highest;
        }
    }
}

} // namespace

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator)
{
    return CalculateField(storage, points, decimalSeparator, FieldOptions());
}

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator, const FieldOptions &options)
{
    FieldResult field;
    Storage shared {storage, {}, {}};
    const CalculationResult prepared = detail::prepareStorage(storage, shared.state, decimalSeparator);
    if (!prepared.ok()) {
        field.status = prepared.status;
        field.message = prepared.message;
        return field;
    }
    if (!storage.indoor)
        detail::computeFlameProfile(shared.state, storage.compact, shared.profile);

    field.levels.resize(points.size());
    const unsigned threads = threadCount(options, points.size(), kChunk);
    std::atomic<std::size_t> next {0};
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back([&] { computeLevels(shared, points, field.levels, next); });
    computeLevels(shared, points, field.levels, next);
    for (std::thread &helper : helpers)
        helper.join();

    // The first point in the order asked that the method cannot give refuses the field,
    // as a window with that point would.
    const CalculationResult refusal = firstRefusal(field.levels, decimalSeparator);
    if (!refusal.ok()) {
        field.status = refusal.status;
        field.message = refusal.message;
        field.levels.clear();
    }
    return field;
}

FieldResult CalculateFieldPicture(const CalculationInput &storage, const FieldGrid &grid,
                                  const FieldOptions &options, const std::function<bool()> &cancelled)
{
    const std::size_t columns = grid.x.size();
    FieldResult field;
    if (storage.indoor || grid.heights.empty()) {
        // Indoors a point's level is two corner view factors: the exact levels are cheap.
        std::vector<FieldPoint> points;
        for (double y : grid.y) {
            for (double x : grid.x)
                points.push_back({x, y, grid.heights.empty() ? 0 : grid.heights.front()});
        }
        return CalculateField(storage, points, '.', options);
    }
    Picture picture {storage, grid, {}, {}, {}, {}, {}, {}};
    const CalculationResult prepared = detail::prepareStorage(storage, picture.state, '.');
    if (!prepared.ok()) {
        field.status = prepared.status;
        field.message = prepared.message;
        return field;
    }
    detail::computeFlameProfile(picture.state, storage.compact, picture.profile);
    for (int i = 1; i <= detail::kFlameStrips; ++i)
        picture.radiance[i] = static_cast<float>(5.67e-8 * picture.profile.fourthPower[i]);
    for (double z : grid.heights) {
        PictureEdges &above = picture.heights.emplace_back();
        for (int i = 0; i <= detail::kFlameStrips; ++i)
            above[i] = static_cast<float>(z - picture.profile.edge[i]);
    }

    // A position and its mirror image in the middle of the face give the same fraction,
    // but for the micrometre by which the method moves every point; rows whose widths
    // differ by less than a few micrometres are drawn as one.
    constexpr double kSameRow = 4e-6; // m
    const double B = picture.state.StorageWidth;
    std::vector<std::size_t> rowOf;
    for (double y : grid.y) {
        const double f = detail::pointFraction(storage, picture.state.CountedFaceWidth, y);
        const double left = f * B;
        const double right = (1 - f) * B;
        const auto same = std::find_if(picture.widths.begin(), picture.widths.end(), [&](const auto &row) {
            return std::abs(row.first - left) < kSameRow && std::abs(row.second - right) < kSameRow;
        });
        rowOf.push_back(static_cast<std::size_t>(same - picture.widths.begin()));
        if (same == picture.widths.end())
            picture.widths.emplace_back(left, right);
    }
    picture.levels.resize(picture.widths.size() * columns);

    const unsigned threads = threadCount(options, picture.levels.size(), 64);
    std::atomic<std::size_t> next {0};
    std::atomic<bool> stop {false};
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back([&] { computePicture(picture, next, stop, {}); });
    computePicture(picture, next, stop, cancelled);
    for (std::thread &helper : helpers)
        helper.join();
    if (stop)
        return field;

    field.levels.resize(grid.y.size() * columns);
    for (std::size_t row = 0; row < grid.y.size(); ++row) {
        const auto from = picture.levels.begin() + static_cast<std::ptrdiff_t>(rowOf[row] * columns);
        std::copy(from, from + static_cast<std::ptrdiff_t>(columns),
                  field.levels.begin() + static_cast<std::ptrdiff_t>(row * columns));
    }
    const CalculationResult refusal = firstRefusal(field.levels, '.');
    if (!refusal.ok()) {
        field.status = refusal.status;
        field.message = refusal.message;
        field.levels.clear();
    }
    return field;
}

} // namespace engine
