#pragma once

// Where the exploration's views begin and end, and the heights the plan's picture samples:
// arithmetic on the storage alone, without Qt, which the exploration window and the web
// page share.

#include "calculate.h"

#include <string>
#include <vector>

namespace explore {

struct PlanExtent
{
    double xFrom = 0.1;
    double xTo = 20;
    double yFrom = -5;
    double yTo = 15;
};

// A level of the engine (W/m²) in kW/m²; one the engine lets pass below zero (arithmetic
// noise behind a screen) is drawn and listed as 0.
double LevelKw(double level);

// The engine's reason for refusing, or where it gives none a general one.
std::string RefusalText(const std::string &message);

// The highest height judged: of the five points, indoors the one at half the building height.
double HighestAssessmentHeight(const engine::CalculationInput &storage);

// The heights the plan's picture is drawn from: the five points, indoors the one point
// at half the building height, and with the envelope also every tenth of the highest
// assessment height, a sample of the envelope that is quick to draw. Numbers come from
// the engine's envelope instead.
std::vector<double> PictureHeights(const engine::CalculationInput &storage, bool envelope);

// The smallest round figure (1, 2 or 5 times a power of ten) not below `value`; 1 for a
// value that is not a positive number.
double NiceCeiling(double value);

// The views start at the engine's first distance (engine::FirstDistance).
// The last distance: half as far again as the farther of the entered distance and the
// minimal distance (below 0: none), at least 20 m, rounded up to a round figure.
double LastDistance(const engine::CalculationInput &storage, double minimalDistance);

// The plan: from the first distance to `lastDistance`, along the face half that depth
// beyond either side; a face much longer than that is shown around the point.
PlanExtent PlanExtentFor(const engine::CalculationInput &storage, double lastDistance);

} // namespace explore
