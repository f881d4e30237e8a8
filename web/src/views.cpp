#include "views.h"

#include "view_layout.h"

#include <algorithm>
#include <cmath>

namespace web {
namespace {

// The grids of the plan write their refusals' numbers with a point: a storage the
// method refuses is said again with the page's separator.
std::string planRefusal(const ViewInput &input, const std::string &message)
{
    engine::CalculationState state;
    const engine::CalculationResult storage =
        engine::detail::prepareStorage(input.storage, state, input.separator);
    return storage.ok() ? explore::RefusalText(message) : storage.message;
}

engine::HighestLevels highestAlong(const ViewInput &input, double y, const std::vector<double> &distances)
{
    engine::CalculationInput storage = input.storage;
    storage.y = y;
    return engine::HighestAlong(storage, distances, input.envelope, input.separator);
}

} // namespace

double ViewInput::highestAssessmentHeight() const
{
    return explore::HighestAssessmentHeight(storage);
}

Extent ExtentFor(const ViewInput &input, double minimalDistance)
{
    Extent extent;
    extent.firstDistance = engine::FirstDistance(input.storage);
    extent.lastDistance = explore::LastDistance(input.storage, minimalDistance);
    const explore::PlanExtent plan = explore::PlanExtentFor(input.storage, extent.lastDistance);
    extent.xFrom = plan.xFrom;
    extent.xTo = plan.xTo;
    extent.yFrom = plan.yFrom;
    extent.yTo = plan.yTo;
    return extent;
}

std::vector<double> PictureHeights(const ViewInput &input)
{
    return explore::PictureHeights(input.storage, input.envelope);
}

Curves DistanceCurves(const ViewInput &input, double lastDistance, int count)
{
    Curves curves;
    const double first = engine::FirstDistance(input.storage);
    for (int i = 0; i < count; ++i)
        curves.distances.push_back(first + (lastDistance - first) * i / (count - 1));
    const std::size_t series = input.storage.indoor ? 1 : input.storage.heights.size();
    for (std::size_t s = 0; s < series; ++s)
        curves.heights.push_back(input.storage.indoor ? input.storage.H / 2 : input.storage.heights[s]);
    std::vector<engine::FieldPoint> points;
    for (double x : curves.distances) {
        for (double z : curves.heights)
            points.push_back({x, input.storage.y, z});
    }
    engine::FieldOptions oneThread;
    oneThread.threads = 1;
    const engine::FieldResult field =
        engine::CalculateField(input.storage, points, input.separator, oneThread);
    if (!field.ok())
        return {explore::RefusalText(field.message), {}, {}, {}, {}};
    const engine::HighestLevels highest = highestAlong(input, input.storage.y, curves.distances);
    if (!highest.ok())
        return {explore::RefusalText(highest.message), {}, {}, {}, {}};
    curves.levels.assign(series, std::vector<double>(curves.distances.size()));
    for (std::size_t d = 0; d < curves.distances.size(); ++d) {
        for (std::size_t s = 0; s < series; ++s)
            curves.levels[s][d] = explore::LevelKw(field.levels[d * series + s]);
        curves.highest.push_back(explore::LevelKw(highest.levels[d]));
    }
    return curves;
}

HeightCurve LevelAgainstHeight(const ViewInput &input, int count)
{
    HeightCurve curve;
    const double last = std::ceil(std::max(input.highestAssessmentHeight(), input.storage.H) * 1.25);
    std::vector<engine::FieldPoint> points;
    for (int i = 0; i < count; ++i) {
        curve.heights.push_back(last * i / (count - 1));
        points.push_back({input.storage.x, input.storage.y, curve.heights.back()});
    }
    engine::FieldOptions oneThread;
    oneThread.threads = 1;
    const engine::FieldResult field =
        engine::CalculateField(input.storage, points, input.separator, oneThread);
    if (!field.ok())
        return {explore::RefusalText(field.message), {}, {}};
    for (double level : field.levels)
        curve.levels.push_back(explore::LevelKw(level));
    return curve;
}

PlanLevels PlanBand(const ViewInput &input, const std::vector<double> &x, const std::vector<double> &y,
                    bool exact)
{
    PlanLevels plan;
    engine::FieldOptions oneThread;
    oneThread.threads = 1;
    if (exact && input.envelope && !input.storage.indoor) {
        // The engine's envelope, row by row: the function that judges the check.
        for (double row : y) {
            const engine::HighestLevels levels = highestAlong(input, row, x);
            if (!levels.ok())
                return {explore::RefusalText(levels.message), {}};
            for (double level : levels.levels)
                plan.levels.push_back(explore::LevelKw(level));
        }
        return plan;
    }
    const engine::FieldGrid grid {x, y, PictureHeights(input)};
    const engine::FieldResult field = exact ? engine::CalculateFieldHighest(input.storage, grid, oneThread)
                                            : engine::CalculateFieldPicture(input.storage, grid, oneThread);
    if (!field.ok())
        return {planRefusal(input, field.message), {}};
    for (double level : field.levels)
        plan.levels.push_back(explore::LevelKw(level));
    return plan;
}

bool LevelAt(const ViewInput &input, double x, double y, double &level)
{
    const engine::HighestLevels spot = highestAlong(input, y, {x});
    if (!spot.ok())
        return false;
    level = explore::LevelKw(spot.levels.front());
    return true;
}

} // namespace web
