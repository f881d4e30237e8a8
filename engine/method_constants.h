#pragma once

// The fixed quantities of the determination method, owned here once: the fire models
// compute with them, the reports and help texts state them.

namespace engine {

// Flame temperatures (K): at the base of the flame of loosely and of compactly stacked
// wood, and at the flame's tip; the strips between run linearly from base to tip.
inline constexpr double kBaseTemperature = 1085;
inline constexpr double kCompactBaseTemperature = 950;
inline constexpr double kTipTemperature = 793;

// The flux from the facade of a burning building (kW/m²).
inline constexpr double kBuildingFluxKw = 45;

// The flux from the base of the pile (kW/m²) as the method states it: σ T⁴ at the base
// temperature, to one decimal.
inline constexpr double kPileFluxKw = 78.6;
inline constexpr double kCompactPileFluxKw = 46.2;

namespace detail {
constexpr double fourthPowerFluxKw(double temperature)
{
    return 5.67e-8 * temperature * temperature * temperature * temperature / 1000;
}
constexpr bool withinHalfADecimal(double stated, double exact)
{
    return stated - exact < 0.05 && exact - stated <= 0.05;
}
} // namespace detail

static_assert(detail::withinHalfADecimal(kPileFluxKw, detail::fourthPowerFluxKw(kBaseTemperature)),
              "the stated flux of loosely stacked wood is sigma T^4 of its base temperature");
static_assert(detail::withinHalfADecimal(kCompactPileFluxKw,
                                         detail::fourthPowerFluxKw(kCompactBaseTemperature)),
              "the stated flux of compactly stacked wood is sigma T^4 of its base temperature");

// The flux the report states for the pile.
constexpr double PileFluxKw(bool compact)
{
    return compact ? kCompactPileFluxKw : kPileFluxKw;
}

} // namespace engine
