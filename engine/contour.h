#pragma once

#include <cstddef>
#include <vector>

namespace engine {

// A scalar field sampled on a regular grid: value(i, j) at x0 + i * dx, y0 + j * dy,
// stored row by row (j outer). Non-finite samples mark holes that no line crosses.
struct ScalarGrid
{
    int nx = 0;
    int ny = 0;
    double x0 = 0;
    double dx = 1;
    double y0 = 0;
    double dy = 1;
    std::vector<double> values;

    double value(int i, int j) const { return values[static_cast<std::size_t>(j) * nx + i]; }
};

struct ContourPoint
{
    double x = 0;
    double y = 0;
};

struct ContourSegment
{
    ContourPoint a;
    ContourPoint b;
};

// One isoline: a polyline whose first and last point coincide when it is closed.
struct ContourLine
{
    std::vector<ContourPoint> points;
    bool closed = false;
};

// Marching squares: the pieces of the isoline at `level` inside each grid cell, the
// crossing points interpolated linearly along the cell edges (each on its edge, whatever
// the values). A grid with fewer than nx × ny values has no cells. A corner counts as
// inside when its value is >= level; a saddle cell is decided by the mean of its
// corners.
std::vector<ContourSegment> ContourSegments(const ScalarGrid &grid, double level);

// The same isoline joined into polylines: segments that meet on a cell edge are
// chained, lines that return to their start are closed.
std::vector<ContourLine> ContourLines(const ScalarGrid &grid, double level);

} // namespace engine
