#include "exploration.h"

#include "field.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace explore {
namespace {

constexpr double kFirstDistanceNoScreen = 0.1;
constexpr double kBeyondScreen = 0.05;
constexpr double kShortestView = 20;
constexpr double kViewReach = 1.5;
constexpr int kEnvelopeDivisions = 10;

double toKw(double level)
{
    return level / 1000;
}

void refuse(Refusal &refusal, const engine::FieldResult &field)
{
    refusal.message =
        field.message.empty() ? std::string("Voor deze invoer is niets te berekenen.") : field.message;
}

} // namespace

double ExplorationInput::highestAssessmentHeight() const
{
    if (storage.indoor)
        return storage.H / 2;
    return *std::max_element(storage.heights.begin(), storage.heights.end());
}

std::vector<double> JudgedHeights(const ExplorationInput &input)
{
    if (input.storage.indoor)
        return {input.storage.H / 2};
    std::vector<double> heights(input.storage.heights.begin(), input.storage.heights.end());
    if (input.envelope) {
        const double top = input.highestAssessmentHeight();
        for (int i = 0; i <= kEnvelopeDivisions; ++i)
            heights.push_back(top * i / kEnvelopeDivisions);
    }
    return heights;
}

double NiceCeiling(double value)
{
    if (!(value > 0) || !std::isfinite(value))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value * (1 - 1e-12))
            return step * power;
    }
    return 10 * power;
}

double FirstDistance(const ExplorationInput &input)
{
    if (input.screenActive())
        return std::max(kFirstDistanceNoScreen, input.storage.xs + kBeyondScreen);
    return kFirstDistanceNoScreen;
}

double LastDistance(const ExplorationInput &input, const Answers &answers)
{
    double farthest = input.storage.x;
    if (answers.distance.ok() && answers.distance.found)
        farthest = std::max(farthest, answers.distance.value);
    const double last = std::max(kShortestView, farthest * kViewReach);
    // Round to a step of the figure's own order, so that the axis ends on a tick.
    const double step = NiceCeiling(last) / 10;
    return std::ceil(last / step) * step;
}

PlanExtent PlanExtentFor(const ExplorationInput &input, const Answers &answers)
{
    PlanExtent extent;
    extent.xFrom = FirstDistance(input);
    extent.xTo = LastDistance(input, answers);
    const double B = input.storage.B;
    const double margin = extent.xTo / 2;
    extent.yFrom = -margin;
    extent.yTo = B + margin;
    // A face much longer than the view is deep is shown around the assessment point.
    const double widest = 3 * extent.xTo;
    if (extent.yTo - extent.yFrom > widest) {
        const double centre = std::clamp(input.storage.y, extent.yFrom + widest / 2, extent.yTo - widest / 2);
        extent.yFrom = centre - widest / 2;
        extent.yTo = centre + widest / 2;
    }
    return extent;
}

Answers ComputeAnswers(const ExplorationInput &input, Refusal &refusal)
{
    Answers answers;
    answers.check = engine::CheckLimit(input.storage, input.limitKw, input.envelope);
    if (!answers.check.ok()) {
        refusal.message = answers.check.message;
        return answers;
    }
    answers.distance =
        engine::Solve(input.storage, engine::SolveQuantity::Distance, input.limitKw, input.envelope);
    answers.height =
        engine::Solve(input.storage, engine::SolveQuantity::Height, input.limitKw, input.envelope);
    answers.width = engine::Solve(input.storage, engine::SolveQuantity::Width, input.limitKw, input.envelope);
    return answers;
}

DistanceProfile ComputeDistanceProfile(const ExplorationInput &input, double lastDistance, int count,
                                       Refusal &refusal)
{
    DistanceProfile profile;
    const double first = FirstDistance(input);
    for (int i = 0; i < count; ++i)
        profile.distances.push_back(first + (lastDistance - first) * i / (count - 1));

    const std::vector<double> judged = JudgedHeights(input);
    const size_t seriesCount = input.storage.indoor ? 1 : input.storage.heights.size();
    profile.heights.assign(judged.begin(), judged.begin() + static_cast<long>(seriesCount));
    std::vector<engine::FieldPoint> points;
    for (double x : profile.distances) {
        for (double z : judged)
            points.push_back({x, input.storage.y, z});
    }
    const engine::FieldResult field = engine::CalculateField(input.storage, points);
    if (!field.ok()) {
        refuse(refusal, field);
        return {};
    }
    profile.levels.assign(seriesCount, std::vector<double>(profile.distances.size()));
    for (size_t d = 0; d < profile.distances.size(); ++d) {
        double highest = 0;
        for (size_t h = 0; h < judged.size(); ++h) {
            const double level = toKw(field.levels[d * judged.size() + h]);
            if (h < seriesCount)
                profile.levels[h][d] = level;
            highest = std::max(highest, level);
        }
        if (input.envelope && !input.storage.indoor)
            profile.envelope.push_back(highest);
        profile.highest.push_back(highest);
    }
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
    const engine::FieldResult field = engine::CalculateField(input.storage, points);
    if (!field.ok()) {
        refuse(refusal, field);
        return {};
    }
    profile.worstLevel = -1;
    for (size_t i = 0; i < points.size(); ++i) {
        profile.levels.push_back(toKw(field.levels[i]));
        if (profile.heights[i] <= top + 1e-9 && profile.levels[i] > profile.worstLevel) {
            profile.worstLevel = profile.levels[i];
            profile.worstHeight = profile.heights[i];
        }
    }
    if (input.storage.indoor)
        profile.worstHeight = input.storage.H / 2;
    return profile;
}

PlanMap ComputePlanMap(const ExplorationInput &input, const PlanExtent &extent, int resolution,
                       Refusal &refusal, const std::function<bool()> &cancelled, int rows,
                       PlanPrecision precision)
{
    PlanMap map;
    engine::ScalarGrid &grid = map.grid;
    grid.nx = resolution;
    grid.ny = rows > 1 ? rows : resolution;
    grid.x0 = extent.xFrom;
    grid.y0 = extent.yFrom;
    grid.dx = (extent.xTo - extent.xFrom) / (resolution - 1);
    grid.dy = (extent.yTo - extent.yFrom) / (grid.ny - 1);

    engine::FieldGrid points;
    for (int i = 0; i < grid.nx; ++i)
        points.x.push_back(grid.x0 + i * grid.dx);
    for (int j = 0; j < grid.ny; ++j)
        points.y.push_back(grid.y0 + j * grid.dy);
    points.heights = JudgedHeights(input);
    // The exact levels follow the picture while it is on the screen: they leave one core
    // to the window.
    engine::FieldOptions background;
    background.threads = std::max(2u, std::thread::hardware_concurrency()) - 1;
    const engine::FieldResult field = precision == PlanPrecision::Picture
        ? engine::CalculateFieldPicture(input.storage, points, {}, cancelled)
        : engine::CalculateFieldHighest(input.storage, points, background, cancelled);
    if (!field.ok()) {
        refuse(refusal, field);
        return {};
    }
    if (field.levels.empty())
        return {};
    for (double level : field.levels)
        grid.values.push_back(toKw(level));
    map.highestValue = *std::max_element(grid.values.begin(), grid.values.end());
    map.resolution = resolution;
    return map;
}

bool PlanLevelAt(const ExplorationInput &input, double x, double y, double &value)
{
    const engine::FieldGrid spot {{x}, {y}, JudgedHeights(input)};
    engine::FieldOptions oneThread;
    oneThread.threads = 1;
    const engine::FieldResult field = engine::CalculateFieldHighest(input.storage, spot, oneThread);
    if (!field.ok())
        return false;
    value = toKw(field.levels.front());
    return true;
}

} // namespace explore
