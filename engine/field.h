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
    unsigned threads = 0;        // 0: one per processor core; 1: the calling thread only
    char decimalSeparator = '.'; // in the numbers of a refusal's message (the grids below)
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
// column], W/m²): the highest of what CalculateField gives at the node's heights, and
// refused as CalculateField refuses those points. `cancelled`, when set, is asked now
// and then; a yes gives back an empty result with status Ok.
FieldResult CalculateFieldHighest(const CalculationInput &storage, const FieldGrid &grid,
                                  const FieldOptions &options = {},
                                  const std::function<bool()> &cancelled = {});

// The same for drawing, in about a seventh of CalculateField's time. Outdoors the strips
// run in single precision, and a row and its mirror image in the middle of the face
// (which the method places a micrometre apart) are computed once, as are rows beyond the
// counted face. For points 0.1 m or more from the face the levels stay within 1e-5 of the
// map's highest level of CalculateField's. `cancelled` as above. The storage is refused
// as CalculateField refuses it, and so is a level that is not a number; a level below
// zero at some heights leaves the highest of the others, or 0 (indoors too).
FieldResult CalculateFieldPicture(const CalculationInput &storage, const FieldGrid &grid,
                                  const FieldOptions &options = {},
                                  const std::function<bool()> &cancelled = {});

} // namespace engine
