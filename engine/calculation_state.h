#pragma once

#include <array>
#include <cstdint>

namespace engine {

// The window-level record of one calculation: the model inputs with their small
// offsets, the derived fire quantities and the outdoor model's working arrays.
// The report reads it right after a calculation. Element 0 of the arrays is unused.
struct CalculationState
{
    static constexpr int ArraySize = 1001;

    double StorageHeight = 0;
    double ScreenHeight = 0;
    double CountedFaceWidth = 0;
    double StorageWidth = 0;
    double StorageDepth = 0;
    double EquivalentDiameter = 0;
    double FlameHeight = 0;
    double ScreenEfficiency = 0;
    double PointDistance = 0;
    double ScreenDistance = 0;
    double BaseFlameTemperature = 0;
    double TipFlameTemperature = 0;
    double Transmission = 0;
    double PointFraction = 0;
    std::int32_t StripCount = 0;
    std::array<double, ArraySize> StripViewFactor {};
    std::array<double, ArraySize> StripFlux {};
    std::array<double, ArraySize> StripTemperature {};
};

} // namespace engine
