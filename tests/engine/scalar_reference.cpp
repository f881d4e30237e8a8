#include "scalar_reference.h"

#include "number_text.h"

#include <algorithm>
#include <cmath>

namespace reference {

double cornerViewFactor(double distance, double height, double width)
{
    const double A = 1e-9 + height / (width + 1e-7);
    const double Bq = 1e-9 + distance / (width + 1e-7);
    const double s1 = 1 / std::pow(std::pow(A, 2) + std::pow(Bq, 2), 0.5);
    const double s2 = A / std::pow(1 + std::pow(Bq, 2), 0.5);
    const double c = 1 / 6.283184;
    const double t1 = std::atan(s1);
    const double t2 = std::atan(s2);
    return c * ((A * s1) * t1 + (s2 / A) * t2);
}

static double outdoorLevel(engine::CalculationState &s, double z, const engine::CalculationInput &in, int &k)
{
    const int N = 400;
    const double T0 = in.compact ? 950 : 1085;
    const double T1 = 793;
    const double Lf = s.FlameHeight;
    const double H = s.StorageHeight;
    const double x = s.PointDistance;
    const double w1 = s.PointFraction * s.StorageWidth;
    const double w2 = (1 - s.PointFraction) * s.StorageWidth;
    const double kd = (N / Lf) * ((x / ((x - s.ScreenDistance) + 1e-5)) * (s.ScreenHeight - z) + z);
    k = in.screen ? int(std::clamp(std::nearbyint(kd), 0.0, double(N))) : 0;
    s.StripCount = N;
    s.BaseFlameTemperature = T0;
    s.TipFlameTemperature = T1;
    double total = 0;
    double shielded = 0;
    for (int i = 1; i <= N; ++i) {
        const double lo = z - ((i - 1) * Lf) / N;
        const double hi = z - (i * Lf) / N;
        const double F1 = cornerViewFactor(x, lo, w1);
        const double F2 = cornerViewFactor(x, lo, w2);
        const double F3 = cornerViewFactor(x, hi, w1);
        const double F4 = cornerViewFactor(x, hi, w2);
        s.StripViewFactor[i] = (((-F3) + F1) - F4) + F2;
        if ((i * Lf) / N < H)
            s.StripTemperature[i] = T0;
        else
            s.StripTemperature[i] = ((double(i) / N - 1) * ((T1 - T0) / (1 - H / Lf))) + T1;
        s.StripFlux[i] = (5.67e-8 * s.StripViewFactor[i]) * std::pow(s.StripTemperature[i], 4);
        total = total + s.StripFlux[i];
    }
    for (int m = 1; m <= k; ++m)
        shielded = shielded + s.StripFlux[m];
    s.Transmission = std::min(1.0, 1.08 * std::pow(x, -0.09));
    return (total - s.ScreenEfficiency * shielded) * s.Transmission;
}

static double indoorLevel(const engine::CalculationState &s)
{
    const double f = s.PointFraction;
    const double r1 = cornerViewFactor(s.PointDistance, 0.5 * s.StorageHeight, f * s.StorageWidth) * 90000;
    const double g = 1 - f;
    const double r2 = cornerViewFactor(s.PointDistance, 0.5 * s.StorageHeight, g * s.StorageWidth) * 90000;
    return r1 + r2;
}

double levelScale(const engine::CalculationState &s, double z, const engine::CalculationInput &in)
{
    const double f = s.PointFraction;
    const double x = s.PointDistance;
    const double w1 = f * s.StorageWidth;
    const double w2 = (1 - f) * s.StorageWidth;
    if (in.indoor) {
        const double h = 0.5 * s.StorageHeight;
        return (std::abs(cornerViewFactor(x, h, w1)) + std::abs(cornerViewFactor(x, h, w2))) * 90000;
    }
    const double T0 = in.compact ? 950 : 1085;
    const double top = z - s.FlameHeight;
    const double sum = std::abs(cornerViewFactor(x, z, w1)) + std::abs(cornerViewFactor(x, z, w2))
        + std::abs(cornerViewFactor(x, top, w1)) + std::abs(cornerViewFactor(x, top, w2));
    return 5.67e-8 * sum * std::pow(T0, 4) * s.Transmission;
}

engine::CalculationResult calculate(const engine::CalculationInput &input, engine::CalculationState &state)
{
    engine::CalculationResult result = engine::detail::prepareStorage(input, state, '.');
    if (!result.ok())
        return result;
    if (input.indoor) {
        result.levels.push_back(indoorLevel(state));
    } else {
        for (double z : input.heights) {
            int k = 0;
            result.levels.push_back(outdoorLevel(state, z, input, k));
        }
    }
    for (double level : result.levels) {
        std::string text;
        const engine::CalculationResult refusal = engine::detail::refuseLevel(level, '.', text);
        if (!refusal.ok())
            return refusal;
        result.texts.push_back(text);
    }
    return result;
}

} // namespace reference
