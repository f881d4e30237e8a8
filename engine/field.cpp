#include "field.h"

#include "chunked_run.h"
#include "fire_models.h"
#include "kernel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace engine {
namespace {

// Points handed to a thread at a time: big enough that the threads rarely meet at the
// counter, small enough that they finish together.
constexpr std::size_t kChunk = 64;
// The picture's tasks (a node with all its heights) are larger.
constexpr std::size_t kPictureChunk = 16;

// The method moves every point this far from the face, so that no point lies in its plane.
constexpr double kDistanceOffset = 1e-8; // m

FieldResult refused(const CalculationResult &refusal)
{
    FieldResult field;
    field.status = refusal.status;
    field.message = refusal.message;
    return field;
}

// The field, or its refusal by the first level in the order given that the method
// cannot give.
FieldResult checked(std::vector<double> levels, char decimalSeparator)
{
    for (double level : levels) {
        if (std::isfinite(level) && level >= 0)
            continue;
        std::string text;
        const CalculationResult refusal = detail::refuseLevel(level, decimalSeparator, text);
        if (!refusal.ok())
            return refused(refusal);
    }
    FieldResult field;
    field.levels = std::move(levels);
    return field;
}

// The storage's share of the calculation, computed once: its state, flame profile and
// strip edges. Each point adds its own distance, position and height.
struct Storage
{
    const CalculationInput &input;
    CalculationState state;
    detail::FlameProfile profile;
};

// One thread's exact levels, point by point.
struct PointWorker
{
    PointWorker(const Storage &shared, const std::vector<FieldPoint> &asked, std::vector<double> &out)
        : storage(shared)
        , points(asked)
        , levels(out)
        , point(detail::storagePoint(shared.state, shared.input.screen))
    { }

    const Storage &storage;
    const std::vector<FieldPoint> &points;
    std::vector<double> &levels;
    detail::OutdoorPoint point;
    detail::StripWork work;
    std::array<double, CalculationState::ArraySize> viewFactor;
    std::array<double, CalculationState::ArraySize> flux;

    void operator()(std::size_t begin, std::size_t end)
    {
        const CalculationState &state = storage.state;
        for (std::size_t i = begin; i < end; ++i) {
            const FieldPoint &p = points[i];
            const double x = p.x + kDistanceOffset;
            const double f = detail::pointFraction(storage.input, state.CountedFaceWidth, p.y);
            if (storage.input.indoor) {
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
};

// CalculateField, which a yes of `cancelled` stops with an empty Ok result.
FieldResult calculatePoints(const CalculationInput &input, const std::vector<FieldPoint> &points,
                            char decimalSeparator, const FieldOptions &options,
                            const std::function<bool()> &cancelled)
{
    Storage storage {input, {}, {}};
    const CalculationResult prepared = detail::prepareStorage(input, storage.state, decimalSeparator);
    if (!prepared.ok())
        return refused(prepared);
    if (!input.indoor)
        detail::computeFlameProfile(storage.state, input.compact, storage.profile);
    std::vector<double> levels(points.size());
    const auto makeWorker = [&] { return PointWorker(storage, points, levels); };
    if (!detail::RunChunked(points.size(), kChunk, options, cancelled, makeWorker))
        return {};
    // The first point in the order asked that the method cannot give refuses the field,
    // as a window with that point would.
    return checked(std::move(levels), decimalSeparator);
}

// A double in single precision; beyond the floats' range, the infinity it rounds to (a
// conversion out of range would be undefined).
float toFloat(double value)
{
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
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

// One thread's picture, node by node: the highest level over the heights.
struct PictureWorker
{
    Picture &picture;
    detail::OutdoorPoint point = detail::storagePoint(picture.state, picture.input.screen);
    PictureEdges left {};
    PictureEdges right {};

    void operator()(std::size_t begin, std::size_t end)
    {
        for (std::size_t node = begin; node < end; ++node)
            compute(node);
    }

    void compute(std::size_t node)
    {
        const std::size_t columns = picture.grid.x.size();
        const std::pair<double, double> &row = picture.widths[node / columns];
        const double x = picture.grid.x[node % columns] + kDistanceOffset;
        detail::PictureTask task;
        task.strips = detail::kFlameStrips;
        task.radiance = picture.radiance.data();
        task.left = left.data();
        task.right = right.data();
        task.distance = x;
        task.leftWidth = row.first;
        task.rightWidth = row.second;
        point.x = x;
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
        picture.levels[node] = highest;
    }
};

} // namespace

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator)
{
    return CalculateField(storage, points, decimalSeparator, FieldOptions());
}

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator, const FieldOptions &options)
{
    return calculatePoints(storage, points, decimalSeparator, options, {});
}

FieldResult CalculateFieldHighest(const CalculationInput &storage, const FieldGrid &grid,
                                  const FieldOptions &options, const std::function<bool()> &cancelled)
{
    std::vector<FieldPoint> points;
    points.reserve(grid.y.size() * grid.x.size() * grid.heights.size());
    for (double y : grid.y) {
        for (double x : grid.x) {
            for (double z : grid.heights)
                points.push_back({x, y, z});
        }
    }
    FieldResult field = calculatePoints(storage, points, options.decimalSeparator, options, cancelled);
    if (!field.ok() || field.levels.empty())
        return field;
    const std::size_t heights = grid.heights.size();
    std::vector<double> highest;
    for (auto first = field.levels.begin(); first != field.levels.end(); first += std::ptrdiff_t(heights))
        highest.push_back(*std::max_element(first, first + std::ptrdiff_t(heights)));
    field.levels = std::move(highest);
    return field;
}

FieldResult CalculateFieldPicture(const CalculationInput &storage, const FieldGrid &grid,
                                  const FieldOptions &options, const std::function<bool()> &cancelled)
{
    // Indoors a point's level is two corner view factors: the exact levels are cheap. A
    // level below zero by rounding (beside the building) is drawn as 0, as outdoors.
    if (storage.indoor) {
        FieldResult field = CalculateFieldHighest(storage, grid, options, cancelled);
        for (double &level : field.levels)
            level = std::max(level, 0.0);
        return field;
    }
    Picture picture {storage, grid, {}, {}, {}, {}, {}, {}};
    const CalculationResult prepared =
        detail::prepareStorage(storage, picture.state, options.decimalSeparator);
    if (!prepared.ok())
        return refused(prepared);
    detail::computeFlameProfile(picture.state, storage.compact, picture.profile);
    for (int i = 1; i <= detail::kFlameStrips; ++i)
        picture.radiance[i] = toFloat(detail::kSigma * picture.profile.fourthPower[i]);
    for (double z : grid.heights) {
        PictureEdges &above = picture.heights.emplace_back();
        for (int i = 0; i <= detail::kFlameStrips; ++i)
            above[i] = toFloat(z - picture.profile.edge[i]);
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
    const std::size_t columns = grid.x.size();
    picture.levels.resize(picture.widths.size() * columns);
    const auto makeWorker = [&picture] { return PictureWorker {picture}; };
    if (!detail::RunChunked(picture.levels.size(), kPictureChunk, options, cancelled, makeWorker))
        return {};

    std::vector<double> levels;
    for (std::size_t row : rowOf) {
        const auto from = picture.levels.begin() + static_cast<std::ptrdiff_t>(row * columns);
        levels.insert(levels.end(), from, from + static_cast<std::ptrdiff_t>(columns));
    }
    return checked(std::move(levels), options.decimalSeparator);
}

} // namespace engine
