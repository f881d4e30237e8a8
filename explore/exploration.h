#pragma once

#include "calculate.h"
#include "contour.h"
#include "limit.h"
#include "view_layout.h"

#include <functional>
#include <string>
#include <vector>

namespace explore {

// The decimal separator of the user's locale, for the engine's messages.
char LocaleDecimalSeparator();

// Everything one exploration is computed from: the storage as the classic window
// takes it, the limit and whether the envelope over all heights counts.
struct ExplorationInput
{
    engine::CalculationInput storage;
    double limitKw = 15;
    bool envelope = false;
    char decimalSeparator = LocaleDecimalSeparator(); // in the engine's messages

    bool screenActive() const { return storage.screen && !storage.indoor; }
    double highestAssessmentHeight() const;
};

// The engine's answers to the limit questions for one input.
struct Answers
{
    engine::LimitCheck check;
    engine::Solution distance;
    engine::Solution height;
    engine::Solution width;
};

// Level against distance at the entered position along the face: one series per
// assessment height (one indoors) and, with the envelope, the engine's envelope over
// every height. Levels in kW/m².
struct DistanceProfile
{
    std::vector<double> distances;
    std::vector<double> heights;             // the height of each series
    std::vector<std::vector<double>> levels; // [series][distance]
    std::vector<double> envelope;            // empty without the envelope
    std::vector<double> highest;             // per distance: the engine's highest level, as the check
                                             // judges it (over the envelope when asked)
};

// Level against height at the entered distance and position. kW/m². The highest level
// that counts is the check's (Answers::check), not a sample of this curve.
struct HeightProfile
{
    std::vector<double> heights;
    std::vector<double> levels;
};

// The ground in front of the face seen from above: x from the face outwards, y along
// the face (0 at one side, B at the other). Each value is the highest level in kW/m²
// at that spot as the check judges it: over the five points, or over the engine's
// envelope of heights; a picture (PlanPrecision::Picture) samples the envelope.
struct PlanMap
{
    engine::ScalarGrid grid;
    double highestValue = 0;
    int resolution = 0;
};

// What went wrong when the engine refused the input (Dutch), empty when all is well.
struct Refusal
{
    std::string message;
    bool refused() const { return !message.empty(); }
};

// The layout of view_layout.h for this input and its answers.
std::vector<double> PictureHeights(const ExplorationInput &input);
double LastDistance(const ExplorationInput &input, const Answers &answers);
PlanExtent PlanExtentFor(const ExplorationInput &input, const Answers &answers);

Answers ComputeAnswers(const ExplorationInput &input, Refusal &refusal);
DistanceProfile ComputeDistanceProfile(const ExplorationInput &input, double lastDistance, int count,
                                       Refusal &refusal);
HeightProfile ComputeHeightProfile(const ExplorationInput &input, int count, Refusal &refusal);

// How the plan's levels are computed: as a picture (single precision, the envelope
// sampled at PictureHeights; without the envelope within 1e-5 of the highest level;
// several times faster), or exactly, as the window's numbers need.
enum class PlanPrecision { Picture, Exact };

// `resolution` points across and, unless `rows` is given, as many along the face.
// `cancelled` is asked now and then; when it says yes the map comes back empty.
PlanMap ComputePlanMap(const ExplorationInput &input, const PlanExtent &extent, int resolution,
                       Refusal &refusal, const std::function<bool()> &cancelled = {}, int rows = 0,
                       PlanPrecision precision = PlanPrecision::Exact);

// The highest level (kW/m²) at one spot of the plan as the check judges it, computed
// there; false when the engine refuses it.
bool PlanLevelAt(const ExplorationInput &input, double x, double y, double &value);

} // namespace explore

namespace explore {

// One state of the views: the input, and as far as computed the answers, the two
// profiles and the plan (first as a picture, then exact).
struct Exploration
{
    ExplorationInput input;
    Refusal refusal;
    bool hasAnswers = false;
    Answers answers;
    DistanceProfile distance;
    HeightProfile height;
    PlanExtent extent;
    PlanMap plan;           // resolution 0 while not computed
    bool planFinal = false; // the plan's levels are exact (first they come as a picture)
};

} // namespace explore
