#pragma once

#include "calculation_state.h"

#include <array>
#include <string>
#include <vector>

namespace engine {

// The values of the window's inputs as the calculation reads them, with the window's
// design values as defaults.
struct CalculationInput
{
    double B = 10; // CWNumEdit1: width of the storage or building (m)
    double D = 10; // CWNumEdit2: depth of the storage (m)
    double H = 8;  // CWNumEdit3: height of the storage or building (m)
    double x = 5;  // CWNumEdit4: distance from the storage to the points (m)
    double hs = 0; // CWNumEdit5: height of the screen (m)
    double xs = 0; // CWNumEdit6: distance from the screen to the storage (m)
    double K = 1;  // CWNumEdit7: efficiency of the screen (-)
    double y = 5;  // CWNumEdit9: position of the points along the storage side (m)
    std::array<double, 5> heights {2.5, 5, 7.5, 10, 12.5}; // CWNumEdit8(0..4) (m)
    bool indoor = false;                                   // Check3 "Binnenopslag"
    bool compact = false;                                  // Check2 "Compact gestapeld hout"
    bool screen = false;                                   // Check1 "Afscherming aanwezig"
};

enum class CalculationStatus {
    Ok,
    WidthNotPositive,
    DepthNotPositive,
    FlameHeightNotPositive,
    FlameHeightAtPileHeight,
    NegativeLevel,
    NotFinite,
    LimitOutOfRange, // the limit of a check or a solver is not above 0 or too large to compute with
};

struct CalculationResult
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;             // Dutch explanation when the status is not Ok
    std::vector<double> levels;      // W/m²: five for outdoor storage, one for indoor
    std::vector<std::string> texts;  // kW/m² as shown, one per level
    bool firstHeightWritten = false; // indoor: the assessment height goes back into point 1
    double firstHeight = 0;

    bool ok() const { return status == CalculationStatus::Ok; }
};

// The calculation behind "Bereken": fills the state from the inputs, derives the
// counted face width, the point's position, the equivalent diameter and the flame
// height, and runs the outdoor model for the five heights or the indoor model once.
// Cases that the method leaves undefined come back as a status with a Dutch message
// and no levels or texts.
CalculationResult Calculate(const CalculationInput &input, CalculationState &state,
                            char decimalSeparator = '.');

namespace detail {

// The steps of Calculate that the many-points function shares.

// PointFraction of a point at y (as entered) along the face.
double pointFraction(const CalculationInput &input, double countedFaceWidth, double y);

// The rules that change the calculation's course with the size of an outdoor pile, for
// the solvers, which must know where the level may jump.
// CountedFaceWidth of a pile whose stored height (with its offset) is `storageHeight`:
// (H − 4) × 2.5 + 35, at least 35 m.
double countedFaceWidth(double storageHeight);
// The pile height (as entered) at which the counted face width reaches `width`.
double heightWhereFaceReaches(double width);
// The width (as entered) at which a footprint `depth` deep reaches the equivalent
// diameter where the flame height changes from the power law to a multiple of the pile
// height (10 m): there the flame, and so the level, jumps.
double widthAtFlameBranch(double depth);

// Fills the state from the inputs and refuses a storage that the method cannot compute
// (a result with a status and message, no levels); otherwise an empty Ok result.
CalculationResult prepareStorage(const CalculationInput &input, CalculationState &state,
                                 char decimalSeparator);

// Refuses a level that is not a number or is negative; otherwise gives its text.
CalculationResult refuseLevel(double level, char decimalSeparator, std::string &text);

} // namespace detail
} // namespace engine
