#pragma once

#include "calculation_state.h"

namespace engine {

// Heat-radiation level (W/m²) at half the building height in front of a burning
// building whose whole facade radiates 45 kW/m².
double CalcIndoorLevel(const CalculationState &state);

namespace detail {

// The outdoor model, in the steps that many points in front of one storage share: the
// flame face is cut into 400 strips, each radiating at its own temperature, minus the part
// behind a screen, times the atmospheric transmission. Without a screen nothing is
// shielded.

// The strip temperatures, their fourth powers and the heights of the strip edges above
// the bottom of the pile depend on the flame and the pile only, not on the point: one
// profile serves every point in front of one storage.
struct FlameProfile
{
    // Elements 1 to N (the edges from 0) are written before use; nothing is cleared.
    double baseTemperature = 0;
    double tipTemperature = 0;
    std::array<double, CalculationState::ArraySize> temperature;
    std::array<double, CalculationState::ArraySize> fourthPower;
    std::array<double, CalculationState::ArraySize> edge; // (i × Lf) / N, from i = 0
};

// What the outdoor model reads of one point in front of the storage.
struct OutdoorPoint
{
    double B = 0;  // StorageWidth, after the limit
    double f = 0;  // PointFraction
    double x = 0;  // PointDistance
    double Lf = 0; // FlameHeight
    double xs = 0; // ScreenDistance
    double hs = 0; // ScreenHeight
    double K = 0;  // ScreenEfficiency
    double z = 0;  // height of the point
    bool screenPresent = false;
};

// The storage's side of a point, from the state: the face, the flame and the screen; the
// point's own x, f and z are the caller's to set.
OutdoorPoint storagePoint(const CalculationState &state, bool screenPresent);

// The working arrays of one point: the corner view factors at the 401 strip edges on
// either side of the point's foot, padded to whole vectors.
struct StripWork
{
    static constexpr int Size = 416;
    alignas(64) std::array<double, Size> left;
    alignas(64) std::array<double, Size> right;
};

// The strips' view factors and fluxes (indices 1 to N) and the transmission of one point;
// the transmission stays as it was when the level is not a number.
struct StripResult
{
    double *viewFactor;
    double *flux;
    double transmission = 0;
};

void computeFlameProfile(const CalculationState &state, bool compact, FlameProfile &profile);
// StripCount, the two flame temperatures and the strip temperatures of the profile.
void writeFlame(CalculationState &state, const FlameProfile &profile);
// The level at height z; writes the strips' view factors and fluxes and Transmission.
double outdoorLevel(CalculationState &state, double z, bool screenPresent, const FlameProfile &profile);
double outdoorLevel(const OutdoorPoint &point, const FlameProfile &profile, StripWork &work,
                    StripResult &strips);
double indoorLevel(double x, double H, double B, double f);
// How many strips, from the bottom, the screen shields from the point; −1 when the
// line of sight cannot be placed (not a number).
int shieldedStrips(const OutdoorPoint &point);
// The atmospheric transmission over distance x: 1.08 x^−0.09, at most 1.
double transmission(double x);
// The number of strips of the outdoor flame face.
constexpr int kFlameStrips = 400;

} // namespace detail
} // namespace engine
