#pragma once

#include "calculation_state.h"

namespace engine {

// Heat-radiation level (W/m²) at height z in front of a burning outdoor pile: the
// flame face is cut into 400 strips, each radiating at its own temperature, minus the
// part behind a screen, times the atmospheric transmission. Reads the inputs and
// derived quantities from the state and overwrites the strip arrays, the two flame
// temperatures, StripCount and Transmission. Without a screen nothing is shielded.
double CalcOutdoorLevel(CalculationState &state, double z, bool compact, bool screenPresent);

// Heat-radiation level (W/m²) at half the building height in front of a burning
// building whose whole facade radiates 45 kW/m².
double CalcIndoorLevel(const CalculationState &state);

namespace detail {

// The strip temperatures and their fourth powers depend on the flame and the pile
// only, not on the point's height; a calculation of five points computes them once.
struct FlameProfile
{
    double baseTemperature = 0;
    double tipTemperature = 0;
    std::array<double, CalculationState::ArraySize> temperature {};
    std::array<double, CalculationState::ArraySize> fourthPower {};
};

void computeFlameProfile(const CalculationState &state, bool compact, FlameProfile &profile);
double outdoorLevel(CalculationState &state, double z, bool screenPresent, const FlameProfile &profile);

} // namespace detail
} // namespace engine
