#include "fire_models.h"

#include "corner_view_factor.h"

#include <cmath>

namespace engine {
namespace {

constexpr int kStripCount = 400;
constexpr double kBaseTemperature = 1085;
constexpr double kCompactBaseTemperature = 950;
constexpr double kTipTemperature = 793;
constexpr double kSigma = 5.67e-8;
constexpr double kIndoorFactor = 90000; // twice 45 kW/m²: two mirrored corner rectangles per side

} // namespace

namespace detail {

void computeFlameProfile(const CalculationState &state, bool compact, FlameProfile &profile)
{
    const int N = kStripCount;
    const double T0 = compact ? kCompactBaseTemperature : kBaseTemperature;
    const double T1 = kTipTemperature;
    const double Lf = state.FlameHeight;
    const double H = state.StorageHeight;
    profile.baseTemperature = T0;
    profile.tipTemperature = T1;

    // Every strip below the top of the pile burns at T0; one power serves them all.
    const double baseFourth = std::pow(T0, 4);
    for (int i = 1; i <= N; ++i) {
        // The test uses the strip's upper edge; above the pile the temperature falls
        // linearly to T1 at the flame top.
        if ((i * Lf) / N < H) {
            profile.temperature[i] = T0;
            profile.fourthPower[i] = baseFourth;
        } else {
            const double t = ((static_cast<double>(i) / N - 1) * ((T1 - T0) / (1 - H / Lf))) + T1;
            profile.temperature[i] = t;
            profile.fourthPower[i] = std::pow(t, 4);
        }
    }
}

double outdoorLevel(CalculationState &state, double z, bool screenPresent, const FlameProfile &profile)
{
    const int N = kStripCount;
    state.StripCount = N;
    state.BaseFlameTemperature = profile.baseTemperature;
    state.TipFlameTemperature = profile.tipTemperature;

    const double B = state.StorageWidth;
    const double f = state.PointFraction;
    const double x = state.PointDistance;
    const double Lf = state.FlameHeight;
    const double w1 = f * B;
    const double w2 = (1 - f) * B;

    // Neighbouring strips share an edge: the upper-edge kernels of strip i are the
    // lower-edge kernels of strip i + 1, so each edge is evaluated once.
    double lower1 = CornerViewFactor(x, z - ((1 - 1) * Lf) / N, w1);
    double lower2 = CornerViewFactor(x, z - ((1 - 1) * Lf) / N, w2);
    for (int i = 1; i <= N; ++i) {
        const double hhi = z - (i * Lf) / N;
        const double F1 = lower1;
        const double F2 = lower2;
        const double F3 = CornerViewFactor(x, hhi, w1);
        const double F4 = CornerViewFactor(x, hhi, w2);
        const double viewFactor = (((-F3) + F1) - F4) + F2;
        state.StripViewFactor[i] = viewFactor;
        state.StripTemperature[i] = profile.temperature[i];
        state.StripFlux[i] = (kSigma * viewFactor) * profile.fourthPower[i];
        lower1 = F3;
        lower2 = F4;
    }

    double total = 0;
    for (int j = 1; j <= N; ++j)
        total = total + state.StripFlux[j];

    // Strips below the line of sight over the screen's top edge are shielded. A
    // screen that is not there shields nothing, whatever its disabled inputs hold.
    int k = 0;
    if (screenPresent) {
        const double xs = state.ScreenDistance;
        const double hs = state.ScreenHeight;
        const double kd = std::nearbyint((N / Lf) * ((x / ((x - xs) + 1e-5)) * (hs - z) + z));
        if (std::isnan(kd))
            return kd;
        k = kd > N ? N : (kd < 0 ? 0 : static_cast<int>(kd));
    }
    double shielded = 0;
    for (int m = 1; m <= k; ++m)
        shielded = shielded + state.StripFlux[m];

    double transmission = 1.08 * std::pow(x, -0.09);
    if (transmission > 1)
        transmission = 1;
    state.Transmission = transmission;

    return (total - state.ScreenEfficiency * shielded) * transmission;
}

} // namespace detail

double CalcOutdoorLevel(CalculationState &state, double z, bool compact, bool screenPresent)
{
    detail::FlameProfile profile;
    detail::computeFlameProfile(state, compact, profile);
    return detail::outdoorLevel(state, z, screenPresent, profile);
}

double CalcIndoorLevel(const CalculationState &state)
{
    const double x = state.PointDistance;
    const double H = state.StorageHeight;
    const double B = state.StorageWidth;
    const double f = state.PointFraction;
    const double r1 = CornerViewFactor(x, 0.5 * H, f * B) * kIndoorFactor;
    const double g = 1 - f;
    const double r2 = CornerViewFactor(x, 0.5 * H, g * B) * kIndoorFactor;
    return r1 + r2;
}

} // namespace engine
