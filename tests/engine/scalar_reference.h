#pragma once

#include "calculate.h"
#include "calculation_state.h"

// The outdoor and indoor models the straightforward way, one scalar kernel at a time:
// the corner view factor with powers and the scalar arctangent, four kernels and a fourth
// power for every strip of its own. The yardstick for the vectorised engine.
namespace reference {

double cornerViewFactor(double distance, double height, double width);

// The size of the view factors that the level at height z is the difference of, as a
// level: with a uniform flame the strips add up to the corner rectangles at the flame's
// base and top, and beside the face or edge-on those nearly cancel. Differences in the
// last bits of the kernels show in the level relative to this size, not to the level.
double levelScale(const engine::CalculationState &state, double z, const engine::CalculationInput &input);

// The whole calculation: the engine's preparation of the state, then the models above.
// The levels of a storage the method cannot compute are empty.
engine::CalculationResult calculate(const engine::CalculationInput &input, engine::CalculationState &state);

} // namespace reference
