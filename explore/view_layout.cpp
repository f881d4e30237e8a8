#include "view_layout.h"

#include "limit.h"

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

constexpr double kShortestView = 20;
constexpr double kViewReach = 1.5;
constexpr int kEnvelopeDivisions = 10;

} // namespace

double LevelKw(double level)
{
    return std::max(0.0, level) / 1000;
}

std::string RefusalText(const std::string &message)
{
    return message.empty() ? std::string("Voor deze invoer is niets te berekenen.") : message;
}

double HighestAssessmentHeight(const engine::CalculationInput &storage)
{
    if (storage.indoor)
        return storage.H / 2;
    return *std::max_element(storage.heights.begin(), storage.heights.end());
}

std::vector<double> PictureHeights(const engine::CalculationInput &storage, bool envelope)
{
    if (storage.indoor)
        return {storage.H / 2};
    std::vector<double> heights(storage.heights.begin(), storage.heights.end());
    if (envelope) {
        const double top = HighestAssessmentHeight(storage);
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

double LastDistance(const engine::CalculationInput &storage, double minimalDistance)
{
    const double farthest = std::max(storage.x, minimalDistance);
    const double last = std::max(kShortestView, farthest * kViewReach);
    // Round to a step of the figure's own order, so that the axis ends on a tick.
    const double step = NiceCeiling(last) / 10;
    return std::ceil(last / step) * step;
}

PlanExtent PlanExtentFor(const engine::CalculationInput &storage, double lastDistance)
{
    PlanExtent extent;
    extent.xFrom = engine::FirstDistance(storage);
    extent.xTo = lastDistance;
    const double margin = extent.xTo / 2;
    extent.yFrom = -margin;
    extent.yTo = storage.B + margin;
    // A face much longer than the view is deep is shown around the assessment point.
    const double widest = 3 * extent.xTo;
    if (extent.yTo - extent.yFrom > widest) {
        const double centre = std::clamp(storage.y, extent.yFrom + widest / 2, extent.yTo - widest / 2);
        extent.yFrom = centre - widest / 2;
        extent.yTo = centre + widest / 2;
    }
    return extent;
}

} // namespace explore
