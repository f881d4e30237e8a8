#pragma once

namespace engine {

// View factor from a small surface to a parallel rectangle with one corner on the
// surface's normal. Negative height or width gives the negated value, which the
// fire models use to add and subtract rectangles.
double CornerViewFactor(double distance, double height, double width);

} // namespace engine
