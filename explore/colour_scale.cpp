#include "colour_scale.h"

#include <algorithm>
#include <cmath>

namespace explore {
namespace {

// Viridis at nine equally spaced stops; between them the scale is interpolated linearly.
constexpr int kStops[9][3] = {
    {68, 1, 84},    {72, 40, 120},  {62, 73, 137},  {49, 104, 142}, {38, 130, 142},
    {31, 158, 137}, {53, 183, 121}, {110, 206, 88}, {253, 231, 37},
};

} // namespace

QColor ViridisColour(double fraction)
{
    if (!std::isfinite(fraction))
        fraction = 0;
    const double position = std::clamp(fraction, 0.0, 1.0) * 8;
    const int lower = std::min(int(position), 7);
    const double t = position - lower;
    int rgb[3];
    for (int c = 0; c < 3; ++c)
        rgb[c] = int(std::lround(kStops[lower][c] + (kStops[lower + 1][c] - kStops[lower][c]) * t));
    return QColor(rgb[0], rgb[1], rgb[2]);
}

} // namespace explore
