#include "corner_view_factor.h"

#include <cmath>

namespace engine {

double CornerViewFactor(double distance, double height, double width)
{
    // The 1e-7 keeps a zero-width rectangle (point in line with a side of the face)
    // defined, the 1e-9 keeps s2 / A defined for a strip edge at the point's height.
    // A square is the same double as the power with exponent 2; the square root is not
    // always the same double as the power with exponent 0.5, so that power stays.
    const double A = 1e-9 + height / (width + 1e-7);
    const double Bq = 1e-9 + distance / (width + 1e-7);
    const double s1 = 1 / std::pow(A * A + Bq * Bq, 0.5);
    const double s2 = A / std::pow(1 + Bq * Bq, 0.5);
    const double c = 1 / 6.283184;
    const double t1 = std::atan(s1);
    const double t2 = std::atan(s2);
    return c * ((A * s1) * t1 + (s2 / A) * t2);
}

} // namespace engine
