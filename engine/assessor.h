#pragma once

#include "calculate.h"
#include "field.h"

#include <limits>
#include <string>
#include <vector>

namespace engine::detail {

// The levels whose envelope is worth refining: above `above` and up to `upTo`.
struct RefineRange
{
    double above = -std::numeric_limits<double>::infinity();
    double upTo = std::numeric_limits<double>::infinity();
};

// The highest level at one distance and where it lies.
struct Highest
{
    double level = -std::numeric_limits<double>::infinity();
    double height = 0; // m
    int point = 0;     // the assessment point at that height, −1 between them
};

// The highest level of one storage at many distances at once: over the five points, or
// over the envelope of every height from 0 m to the highest assessment height.
//
// The envelope: below the flame's top (or up to the highest point, if that is lower) a
// scan in steps of 0.5 m, refined in steps of 5 cm and then 1 cm around its two highest
// local maxima. Above the flame's top every strip lies below the point, and raising the
// point takes every part of every strip further away, so every strip's view factor falls
// and with it the level, for as long as the screen shields the same strips (with an
// efficiency from 0 to 1). Only where the line of sight over the screen clears another
// strip can the level jump up, and then fall again. So above the flame's top the highest
// level on the centimetre grid lies at the first centimetre after such a step: at most one
// candidate per strip, whatever the heights are. The scan below the flame keeps its 0.5 m
// steps over the first 128 m (every point and flame the method's ranges allow) and
// coarsens beyond, so the work stays bounded for any input.
class Assessor
{
public:
    Assessor(const CalculationInput &input, bool envelope, char decimalSeparator);

    // The highest level at each distance in front of `storage`, which differs from the
    // input at most in its size. The envelope is refined only at distances whose highest
    // before refining lies in `refine`; the five points and the steps above the flame are
    // exact anyway. A storage or point the method cannot compute refuses the whole call.
    FieldResult highest(const CalculationInput &storage, const std::vector<double> &distances,
                        const RefineRange &refine, std::vector<Highest> &out) const;

private:
    struct Sample
    {
        double z;
        double level;
        bool operator<(const Sample &other) const { return z < other.z; }
    };

    FieldResult envelope(const CalculationInput &storage, const std::vector<double> &distances,
                         const RefineRange &refine, std::vector<Highest> &out) const;
    // Adds the first centimetre of each step of the screen's shielding in (fromCm, toCm].
    void addShieldingSteps(const CalculationInput &storage, const CalculationState &state, double x,
                           double fromCm, double toCm, std::vector<double> &heights) const;
    FieldResult refineMaxima(const CalculationInput &storage, const std::vector<double> &distances,
                             std::vector<std::vector<Sample>> &samples,
                             const std::vector<std::size_t> &active, double coarseCm, double endCm,
                             std::vector<Highest> &out) const;
    static std::vector<double> maxima(const std::vector<Sample> &samples);
    void take(Highest &best, double level, double z, const CalculationInput &storage) const;

    std::vector<double> m_heights;
    bool m_envelope = false;
    bool m_indoor = false;
    char m_separator = '.';
    double m_top = 0;
};

// What the check and the solvers share of the limit: false, with a Dutch message, when
// `limitKw` is not above 0 or too large to compare in W/m²; and the limit (W/m²) as the user
// entered it, in kW/m² and not rounded to two decimals.
bool limitInRange(double limitKw, char decimalSeparator, std::string &message);
std::string limitText(double limit, char decimalSeparator);

} // namespace engine::detail
