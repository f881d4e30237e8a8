#include "exploration.h"

#include "field.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <thread>

namespace explore {
namespace {

template<typename Result> void refuse(Refusal &refusal, const Result &result)
{
    refusal.message = RefusalText(result.message);
}

// The engine's highest levels at `distances` in front of the point at `y`, as the check
// judges them.
engine::HighestLevels highestAlong(const ExplorationInput &input, double y,
                                   const std::vector<double> &distances)
{
    engine::CalculationInput storage = input.storage;
    storage.y = y;
    return engine::HighestAlong(storage, distances, input.envelope, input.decimalSeparator);
}

} // namespace

char LocaleDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.front().unicode() < 128 ? point.front().toLatin1() : '.';
}

double ExplorationInput::highestAssessmentHeight() const
{
    return HighestAssessmentHeight(storage);
}

std::vector<double> PictureHeights(const ExplorationInput &input)
{
    return PictureHeights(input.storage, input.envelope);
}

double LastDistance(const ExplorationInput &input, const Answers &answers)
{
    const bool found = answers.distance.ok() && answers.distance.found;
    return LastDistance(input.storage, found ? answers.distance.value : -1);
}

PlanExtent PlanExtentFor(const ExplorationInput &input, const Answers &answers)
{
    return PlanExtentFor(input.storage, LastDistance(input, answers));
}

Answers ComputeAnswers(const ExplorationInput &input, Refusal &refusal)
{
    Answers answers;
    const char separator = input.decimalSeparator;
    answers.check = engine::CheckLimit(input.storage, input.limitKw, input.envelope, separator);
    if (!answers.check.ok()) {
        refusal.message = answers.check.message;
        return answers;
    }
    const auto solve = [&](engine::SolveQuantity quantity) {
        return engine::Solve(input.storage, quantity, input.limitKw, input.envelope, separator);
    };
    answers.distance = solve(engine::SolveQuantity::Distance);
    answers.height = solve(engine::SolveQuantity::Height);
    answers.width = solve(engine::SolveQuantity::Width);
    return answers;
}

DistanceProfile ComputeDistanceProfile(const ExplorationInput &input, double lastDistance, int count,
                                       Refusal &refusal)
{
    DistanceProfile profile;
    const double first = engine::FirstDistance(input.storage);
    for (int i = 0; i < count; ++i)
        profile.distances.push_back(first + (lastDistance - first) * i / (count - 1));

    const size_t seriesCount = input.storage.indoor ? 1 : input.storage.heights.size();
    for (size_t s = 0; s < seriesCount; ++s)
        profile.heights.push_back(input.storage.indoor ? input.storage.H / 2 : input.storage.heights[s]);
    std::vector<engine::FieldPoint> points;
    for (double x : profile.distances) {
        for (double z : profile.heights)
            points.push_back({x, input.storage.y, z});
    }
    const engine::FieldResult field = engine::CalculateField(input.storage, points, input.decimalSeparator);
    if (!field.ok()) {
        refuse(refusal, field);
        return {};
    }
    const engine::HighestLevels highest = highestAlong(input, input.storage.y, profile.distances);
    if (!highest.ok()) {
        refuse(refusal, highest);
        return {};
    }
    profile.levels.assign(seriesCount, std::vector<double>(profile.distances.size()));
    for (size_t d = 0; d < profile.distances.size(); ++d) {
        for (size_t s = 0; s < seriesCount; ++s)
            profile.levels[s][d] = LevelKw(field.levels[d * seriesCount + s]);
        profile.highest.push_back(LevelKw(highest.levels[d]));
    }
    if (input.envelope && !input.storage.indoor)
        profile.envelope = profile.highest;
    return profile;
}

HeightProfile ComputeHeightProfile(const ExplorationInput &input, int count, Refusal &refusal)
{
    HeightProfile profile;
    const double top = input.highestAssessmentHeight();
    const double last = std::ceil(std::max(top, input.storage.H) * 1.25);
    std::vector<engine::FieldPoint> points;
    for (int i = 0; i < count; ++i) {
        const double z = last * i / (count - 1);
        profile.heights.push_back(z);
        points.push_back({input.storage.x, input.storage.y, z});
    }
    const engine::FieldResult field = engine::CalculateField(input.storage, points, input.decimalSeparator);
    if (!field.ok()) {
        refuse(refusal, field);
        return {};
    }
    for (double level : field.levels)
        profile.levels.push_back(LevelKw(level));
    return profile;
}

namespace {

engine::ScalarGrid planGrid(const PlanExtent &extent, int resolution, int rows)
{
    engine::ScalarGrid grid;
    grid.nx = resolution;
    grid.ny = rows > 1 ? rows : resolution;
    grid.x0 = extent.xFrom;
    grid.y0 = extent.yFrom;
    grid.dx = (extent.xTo - extent.xFrom) / (resolution - 1);
    grid.dy = (extent.yTo - extent.yFrom) / (grid.ny - 1);
    return grid;
}

// The engine's envelope, row by row along the face: the same function that judges the
// check, the curves and the solvers. Much slower than a sample of heights; asks
// `cancelled` after every row.
engine::FieldResult envelopeLevels(const ExplorationInput &input, const engine::FieldGrid &points,
                                   const std::function<bool()> &cancelled)
{
    engine::FieldResult field;
    for (double y : points.y) {
        if (cancelled && cancelled())
            return {};
        const engine::HighestLevels row = highestAlong(input, y, points.x);
        if (!row.ok()) {
            field.status = row.status;
            field.message = row.message;
            return field;
        }
        field.levels.insert(field.levels.end(), row.levels.begin(), row.levels.end());
    }
    return field;
}

} // namespace

PlanMap ComputePlanMap(const ExplorationInput &input, const PlanExtent &extent, int resolution,
                       Refusal &refusal, const std::function<bool()> &cancelled, int rows,
                       PlanPrecision precision)
{
    PlanMap map;
    map.grid = planGrid(extent, resolution, rows);
    engine::ScalarGrid &grid = map.grid;
    engine::FieldGrid points;
    for (int i = 0; i < grid.nx; ++i)
        points.x.push_back(grid.x0 + i * grid.dx);
    for (int j = 0; j < grid.ny; ++j)
        points.y.push_back(grid.y0 + j * grid.dy);
    points.heights = PictureHeights(input);
    // The exact levels follow the picture while it is on the screen: they leave one core
    // to the window.
    engine::FieldOptions background;
    background.threads = std::max(2u, std::thread::hardware_concurrency()) - 1;
    engine::FieldResult field;
    if (precision == PlanPrecision::Picture)
        field = engine::CalculateFieldPicture(input.storage, points, {}, cancelled);
    else if (input.envelope && !input.storage.indoor)
        field = envelopeLevels(input, points, cancelled);
    else
        field = engine::CalculateFieldHighest(input.storage, points, background, cancelled);
    if (!field.ok()) {
        refuse(refusal, field);
        return {};
    }
    if (field.levels.empty())
        return {};
    for (double level : field.levels)
        grid.values.push_back(LevelKw(level));
    map.highestValue = *std::max_element(grid.values.begin(), grid.values.end());
    map.resolution = resolution;
    return map;
}

bool PlanLevelAt(const ExplorationInput &input, double x, double y, double &value)
{
    const engine::HighestLevels spot = highestAlong(input, y, {x});
    if (!spot.ok())
        return false;
    value = LevelKw(spot.levels.front());
    return true;
}

} // namespace explore
