#pragma once

#include "calculate.h"

#include <string>
#include <vector>

namespace engine {

// The legal question behind the method's figures: does the storage keep the assessment
// points at or below a limit (15 kW/m² outdoors by the building rules), and which
// distance, pile height or width would.

struct LimitCheck
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;   // Dutch explanation when the status is not Ok
    double limit = 15000;  // W/m²
    double highest = 0;    // W/m², the highest unrounded level
    int point = 0;         // 0-based index of the point with the highest level; -1 when the
                           // envelope's highest lies between the five heights
    double height = 0;     // m, the height of the highest level ("maatgevende hoogte")
    bool complies = false; // highest <= limit

    // The envelope over every height from 0 m to the highest assessment height, computed
    // whether or not the check was asked over it (indoors: the one point), so that a
    // verdict on the five points can say what lies between them.
    double envelopeHighest = 0;    // W/m²
    double envelopeHeight = 0;     // m
    bool envelopeComplies = false; // envelopeHighest <= limit

    bool ok() const { return status == CalculationStatus::Ok; }
    // The five points comply, the level between them does not.
    bool compliesOnlyAtPoints() const { return complies && !envelopeComplies; }
};

// The highest level over the five points (or, with `envelope`, over every height from
// 0 m to the highest assessment height, found to 0.01 m) against `limitKw` (kW/m²; a limit
// not above 0, or too large to compare in W/m², is refused with LimitOutOfRange; the
// front ends hold the user to kLimitRange). The envelope is computed either way and fills
// the envelope fields. Messages use `decimalSeparator` in their numbers, as Calculate does.
LimitCheck CheckLimit(const CalculationInput &input, double limitKw, bool envelope,
                      char decimalSeparator = '.');

// The highest level at each of many distances, for curves of level against distance:
// over the five points or, with `envelope`, over every height from 0 m to the highest
// assessment height.
struct HighestLevels
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;         // Dutch explanation when the status is not Ok
    std::vector<double> levels;  // W/m², one per distance
    std::vector<double> heights; // m, where each highest level occurs

    bool ok() const { return status == CalculationStatus::Ok; }
};

// The one envelope of the programs: the check, the solvers, the calculator's chart and the
// exploration window's curves all take it from here. At each distance (at the input's y):
// the highest level over every height from 0 m to the highest assessment height, on a
// 0.5 m scan refined to 1 cm around its highest maxima, with every height above the
// flame's top where the level can rise (the steps of the screen's shielding) looked at
// exactly; it is never below the five points. Outdoors only: indoors, and without
// `envelope`, the highest of the points. Bounded work for any heights: at most about 700
// levels per distance (a few dozen for the window's inputs).
HighestLevels HighestAlong(const CalculationInput &input, const std::vector<double> &distances, bool envelope,
                           char decimalSeparator = '.');

// The envelope at one point of the plan: distance x from the face and position y along it
// (the input's own x and y are not used).
struct EnvelopeLevel
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message; // Dutch explanation when the status is not Ok
    double level = 0;    // W/m², the highest level from 0 m to the highest assessment height
    double height = 0;   // m, where it occurs (indoors: half the building height)
    int point = 0;       // the assessment point at that height (0-based), −1 between them

    bool ok() const { return status == CalculationStatus::Ok; }
};

EnvelopeLevel EnvelopeAt(const CalculationInput &input, double x, double y, char decimalSeparator = '.');

// The first distance that curves, views and the distance solver look at: 0.1 m, or the
// first whole centimetre beyond the screen when a screen stands further out (a screen at
// 2.3 m: 2.31 m). Not a number when the screen's distance is not one.
double FirstDistance(const CalculationInput &input);

enum class SolveQuantity { Distance, Height, Width };

// Where an answer lies against the edge of the range that was searched.
enum class SolutionBound {
    None,    // an ordinary answer: the next centimetre beyond it does not comply
    Lowest,  // distance: the first distance searched complies already, so every distance
             // does ("elke afstand voldoet")
    Highest, // height or width: the top of the search complies; the true largest value may
             // lie beyond it ("≥ 15,00 m (hoogste onderzochte hoogte)")
};

struct Solution
{
    CalculationStatus status = CalculationStatus::Ok; // Ok also when no value complies
    std::string message;                              // Dutch explanation when not ok() or not found
    SolveQuantity quantity = SolveQuantity::Distance;
    bool found = false;         // false: no value in the range complies
    double value = 0;           // m: distance rounded up, height and width rounded down to 0.01 m
    double limit = 15000;       // W/m²
    std::vector<double> levels; // W/m² at the answer, as Calculate gives them
    double highest = 0;         // W/m², the highest level at the answer (over the envelope if asked)
    double height = 0;          // m, where that highest level occurs
    SolutionBound bound = SolutionBound::None;
    double position = 0; // m, the point's position along the face the answer was judged
                         // at (width: in front of the middle of the face, half the answer)

    bool ok() const { return status == CalculationStatus::Ok; }
};

// distance: the smallest x (FirstDistance, up to 1000 m) from which on every larger
// distance keeps the highest level <= limit; height: the largest H in (0, 15] m at the
// entered position y; width: the largest B in (0, 10000] m, judged for each width at the
// point in front of the middle of the face (y = B / 2, where the level is highest), so
// that a storage of the answer's width complies wherever the point lies along it. Each
// such that every smaller value complies too. Values of height or width for which the
// method defines no flame (flame height at or below 0 m, or equal to the pile height) have
// no fire to assess and are passed over; the answer itself is always a value with levels.
// A level below zero (an efficiency above 1) counts as not complying; any other refusal
// is the answer's. Indoor storage has one point at half the
// building height, so the envelope does not apply to it. The limit is refused as
// CheckLimit refuses it.
Solution Solve(const CalculationInput &input, SolveQuantity quantity, double limitKw, bool envelope,
               char decimalSeparator = '.');

} // namespace engine
