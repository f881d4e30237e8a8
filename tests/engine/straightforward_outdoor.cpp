#include "straightforward_outdoor.h"

#include "corner_view_factor.h"

#include <cmath>

double straightforwardOutdoorLevel(engine::CalculationState &state, double z, bool compact,
                                   bool screenPresent)
{
    const int N = 400;
    state.StripCount = N;
    state.BaseFlameTemperature = compact ? 950 : 1085;
    state.TipFlameTemperature = 793;
    const double T0 = state.BaseFlameTemperature;
    const double T1 = state.TipFlameTemperature;
    const double B = state.StorageWidth;
    const double f = state.PointFraction;
    const double x = state.PointDistance;
    const double Lf = state.FlameHeight;
    const double H = state.StorageHeight;

    for (int i = 1; i <= N; ++i) {
        const double w1 = f * B;
        const double w2 = (1 - f) * B;
        const double hlo = z - ((i - 1) * Lf) / N;
        const double hhi = z - (i * Lf) / N;
        const double F1 = engine::CornerViewFactor(x, hlo, w1);
        const double F2 = engine::CornerViewFactor(x, hlo, w2);
        const double F3 = engine::CornerViewFactor(x, hhi, w1);
        const double F4 = engine::CornerViewFactor(x, hhi, w2);
        state.StripViewFactor[i] = (((-F3) + F1) - F4) + F2;
        if ((i * Lf) / N < H)
            state.StripTemperature[i] = T0;
        else
            state.StripTemperature[i] = ((double(i) / N - 1) * ((T1 - T0) / (1 - H / Lf))) + T1;
        state.StripFlux[i] = (5.67e-8 * state.StripViewFactor[i]) * std::pow(state.StripTemperature[i], 4);
    }
    double total = 0;
    for (int j = 1; j <= N; ++j)
        total = total + state.StripFlux[j];

    int k = 0;
    if (screenPresent) {
        const double xs = state.ScreenDistance;
        const double hs = state.ScreenHeight;
        const double kd = std::nearbyint((N / Lf) * ((x / ((x - xs) + 1e-5)) * (hs - z) + z));
        if (std::isnan(kd))
            return kd;
        k = kd > N ? N : (kd < 0 ? 0 : int(kd));
    }
    double shielded = 0;
    for (int m = 1; m <= k; ++m)
        shielded = shielded + state.StripFlux[m];

    state.Transmission = 1.08 * std::pow(x, -0.09);
    if (state.Transmission > 1)
        state.Transmission = 1;
    return (total - state.ScreenEfficiency * shielded) * state.Transmission;
}
