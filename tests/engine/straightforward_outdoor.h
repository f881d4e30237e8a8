#pragma once

#include "calculation_state.h"

// The outdoor model written out the long way, as a reference for the engine: every strip
// evaluates its own four corner view factors and its own temperature and fourth power,
// so that 1,600 kernels per point are computed instead of the engine's 802.
double straightforwardOutdoorLevel(engine::CalculationState &state, double z, bool compact,
                                   bool screenPresent);
