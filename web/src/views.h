#pragma once

// What the page's views show, computed from the engine alone (no Qt): where the views
// begin and end, the curves of level against distance and height, and the plan's levels,
// laid out by the exploration window's own layout arithmetic (explore/view_layout.h).

#include "calculate.h"
#include "field.h"
#include "limit.h"

#include <string>
#include <vector>

namespace web {

// One input of the page: the storage, the limit, whether the envelope counts, and the
// decimal separator of the engine's messages.
struct ViewInput
{
    engine::CalculationInput storage;
    double limitKw = 15;
    bool envelope = false;
    char separator = ',';

    double highestAssessmentHeight() const;
};

struct Extent
{
    double firstDistance = 0.1;
    double lastDistance = 20;
    double xFrom = 0.1;
    double xTo = 20;
    double yFrom = -5;
    double yTo = 15;
};

// The views' distances and the plan's area: from the first distance the engine looks at
// to half as far again as the farther of the entered and the minimal distance (at least
// 20 m, ending on a round figure); along the face half that depth beyond either side,
// around the point when the face is much longer. `minimalDistance` below 0: none.
Extent ExtentFor(const ViewInput &input, double minimalDistance);

// The heights a picture of the plan samples: the five points (indoors the one at half
// the building height), with the envelope also every tenth of the highest point.
std::vector<double> PictureHeights(const ViewInput &input);

// A refusal's message, or empty.
struct Curves
{
    std::string refusal;
    std::vector<double> distances;
    std::vector<double> heights;             // of each series
    std::vector<std::vector<double>> levels; // kW/m², [series][distance]
    std::vector<double> highest;             // kW/m², the engine's highest as the check judges it
};

Curves DistanceCurves(const ViewInput &input, double lastDistance, int count);

struct HeightCurve
{
    std::string refusal;
    std::vector<double> heights;
    std::vector<double> levels; // kW/m²
};

HeightCurve LevelAgainstHeight(const ViewInput &input, int count);

// The plan's highest levels (kW/m²) at `x` × `y` (row by row): a picture (single
// precision, the envelope sampled) or exact, as the check judges them.
struct PlanLevels
{
    std::string refusal;
    std::vector<double> levels;
};

PlanLevels PlanBand(const ViewInput &input, const std::vector<double> &x, const std::vector<double> &y,
                    bool exact);

// The highest level (kW/m²) at one spot of the plan, as the check judges it; false when
// the engine refuses it.
bool LevelAt(const ViewInput &input, double x, double y, double &level);

} // namespace web
