#include "fire_models.h"

#include "corner_view_factor.h"
#include "kernel.h"
#include "method_constants.h"

#include <cmath>

namespace engine {
namespace {

constexpr int kStripCount = detail::kFlameStrips;
// Twice the building's flux in W/m²: two mirrored corner rectangles per side.
constexpr double kIndoorFactor = 2 * kBuildingFluxKw * 1000;

static_assert(kStripCount + 1 <= detail::StripWork::Size, "the strip edges fit the working arrays");

// i / N for every strip: the same for every flame, so computed once.
const std::array<double, kStripCount + 1> &stripFractions()
{
    static const std::array<double, kStripCount + 1> fractions = [] {
        std::array<double, kStripCount + 1> table {};
        for (int i = 0; i <= kStripCount; ++i)
            table[i] = static_cast<double>(i) / kStripCount;
        return table;
    }();
    return fractions;
}

// values[1] + ... + values[count] (the shielded strips) in four interleaved running sums,
// which the processor adds side by side; the order differs from one running sum by
// rounding only.
double sum(const double *values, int count)
{
    double partial[4] = {0, 0, 0, 0};
    int i = 1;
    for (; i + 3 <= count; i += 4) {
        for (int j = 0; j < 4; ++j)
            partial[j] = partial[j] + values[i + j];
    }
    for (; i <= count; ++i)
        partial[0] = partial[0] + values[i];
    return (partial[0] + partial[1]) + (partial[2] + partial[3]);
}

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

    // Every strip below the top of the pile burns at T0; above the pile the temperature
    // falls linearly to T1 at the flame top. The test uses the strip's upper edge. The
    // fourth powers are products: within two units in the last place of the power, which
    // the levels do not notice, at a fraction of its cost. Written without branches, so
    // that the compiler evaluates several strips at once.
    const double slope = (T1 - T0) / (1 - H / Lf);
    const std::array<double, kStripCount + 1> &fraction = stripFractions();
    profile.edge[0] = (0 * Lf) / N;
    for (int i = 1; i <= N; ++i) {
        const double edge = (i * Lf) / N;
        const double above = ((fraction[i] - 1) * slope) + T1;
        const double t = edge < H ? T0 : above;
        profile.edge[i] = edge;
        profile.temperature[i] = t;
        profile.fourthPower[i] = (t * t) * (t * t);
    }
}

double outdoorLevel(const OutdoorPoint &point, const FlameProfile &profile, StripWork &work,
                    StripResult &strips)
{
    const int N = kStripCount;
    const double x = point.x;
    const double z = point.z;
    const double w1 = point.f * point.B;
    const double w2 = (1 - point.f) * point.B;

    // Neighbouring strips share an edge, so each of the 401 edges is evaluated once on
    // either side, all in one vectorised pass per side.
    StripTask task;
    task.distance = x;
    task.z = z;
    task.leftWidth = w1;
    task.rightWidth = w2;
    task.strips = N;
    task.edge = profile.edge.data();
    task.fourthPower = profile.fourthPower.data();
    task.left = work.left.data();
    task.right = work.right.data();
    task.viewFactor = strips.viewFactor;
    task.flux = strips.flux;
    const double total = OutdoorStrips(task);

    const int k = shieldedStrips(point);
    if (k < 0)
        return std::nan("");
    const double shielded = sum(strips.flux, k);
    strips.transmission = transmission(x);
    return (total - point.K * shielded) * strips.transmission;
}

int shieldedStrips(const OutdoorPoint &point)
{
    // Strips below the line of sight over the screen's top edge are shielded. A
    // screen that is not there shields nothing, whatever its disabled inputs hold.
    if (!point.screenPresent)
        return 0;
    const int N = kStripCount;
    const double x = point.x;
    const double z = point.z;
    const double kd = std::nearbyint((N / point.Lf) * ((x / ((x - point.xs) + 1e-5)) * (point.hs - z) + z));
    if (std::isnan(kd))
        return -1;
    return kd > N ? N : (kd < 0 ? 0 : static_cast<int>(kd));
}

double transmission(double x)
{
    const double transmission = 1.08 * std::pow(x, -0.09);
    return transmission > 1 ? 1 : transmission;
}

void writeFlame(CalculationState &state, const FlameProfile &profile)
{
    state.StripCount = kStripCount;
    state.BaseFlameTemperature = profile.baseTemperature;
    state.TipFlameTemperature = profile.tipTemperature;
    for (int i = 1; i <= kStripCount; ++i)
        state.StripTemperature[i] = profile.temperature[i];
}

OutdoorPoint storagePoint(const CalculationState &state, bool screenPresent)
{
    OutdoorPoint point;
    point.B = state.StorageWidth;
    point.Lf = state.FlameHeight;
    point.xs = state.ScreenDistance;
    point.hs = state.ScreenHeight;
    point.K = state.ScreenEfficiency;
    point.screenPresent = screenPresent;
    return point;
}

double outdoorLevel(CalculationState &state, double z, bool screenPresent, const FlameProfile &profile)
{
    OutdoorPoint point = storagePoint(state, screenPresent);
    point.f = state.PointFraction;
    point.x = state.PointDistance;
    point.z = z;
    StripWork work;
    // A point the screen test cannot place (not a number) leaves the transmission as it was.
    StripResult strips {state.StripViewFactor.data(), state.StripFlux.data(), state.Transmission};
    const double level = outdoorLevel(point, profile, work, strips);
    state.Transmission = strips.transmission;
    return level;
}

double indoorLevel(double x, double H, double B, double f)
{
    const double r1 = CornerViewFactor(x, 0.5 * H, f * B) * kIndoorFactor;
    const double g = 1 - f;
    const double r2 = CornerViewFactor(x, 0.5 * H, g * B) * kIndoorFactor;
    return r1 + r2;
}

} // namespace detail

double CalcIndoorLevel(const CalculationState &state)
{
    return detail::indoorLevel(state.PointDistance, state.StorageHeight, state.StorageWidth,
                               state.PointFraction);
}

} // namespace engine
