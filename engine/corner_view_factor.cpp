#include "corner_view_factor.h"

#include <cmath>

namespace engine {

double CornerViewFactor(double distance, double height, double width)
{
    // The 1e-7 keeps a zero-width rectangle (point in line with a side of the face)
    // defined, the 1e-9 keeps s2 / A defined for a strip edge at the point's height.
    const double A = 1e-9 + height / (width + 1e-7);
    const double Bq = 1e-9 + distance / (width + 1e-7);
    const double s1 = 1 / std::pow(std::pow(A, 2) + std::pow(Bq, 2), 0.5);
    const double s2 = A / std::pow(1 + std::pow(Bq, 2), 0.5);
    const double c = 1 / 6.283184;
    const double t1 = std::atan(s1);
    const double t2 = std::atan(s2);
    return c * ((A * s1) * t1 + (s2 / A) * t2);
}

} // namespace engine
