#pragma once

#include "calculate.h"

#include <functional>
#include <string>
#include <vector>

namespace engine {

// One assessment point as the user enters it (no offsets): distance x from the face,
// position y along the face, height z. Indoors the point lies at half the building
// height whatever z says.
struct FieldPoint
{
    double x = 0;
    double y = 0;
    double z = 0;
};

struct FieldResult
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;        // Dutch explanation when the status is not Ok
    std::vector<double> levels; // W/m², one per point, in the order asked

    bool ok() const { return status == CalculationStatus::Ok; }
};

// The levels at many points in front of one storage: the storage, its options and its
// screen come from `storage` (whose own x, y and heights are not used). Each level is
// the level that Calculate gives for a window with that point's x, y and height. A
// storage the method cannot compute, or any point whose level is not a number or is
// negative, refuses the whole field with Calculate's status and message.
FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator = '.');

struct FieldOptions
{
    unsigned threads = 0; // 0: one per processor core; 1: the calling thread only
};

// The same, with the points spread over `options.threads` threads. The levels do not
// depend on the number of threads.
FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator, const FieldOptions &options);

// A grid of points for a picture of the field: every distance x with every position y,
// each judged at every height; the picture holds the highest of those levels.
struct FieldGrid
{
    std::vector<double> x;       // columns
    std::vector<double> y;       // rows
    std::vector<double> heights; // at least one
};

// The highest level over the grid's heights at every grid point (levels[row × columns +
// column], W/m²), for drawing: outdoors in single precision, within 1e-5 of the map's
// highest level of what CalculateField gives, at a fifth of its time. Rows that the
// method sees alike (a position and its mirror image in the middle of the face, points
// beyond the counted face) are computed once. `cancelled`, when set, is asked now and
// then; a yes gives back an empty result with status Ok. The storage is refused as
// CalculateField refuses it; a level that is not a number refuses the picture.
FieldResult CalculateFieldPicture(const CalculationInput &storage, const FieldGrid &grid,
                                  const FieldOptions &options = {},
                                  const std::function<bool()> &cancelled = {});

} // namespace engine
