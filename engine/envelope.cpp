#include "assessor.h"
#include "fire_models.h"
#include "limit.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace detail {
namespace {

// The scan below the flame's top: 0.5 m steps, coarser only where 256 of them would not
// reach the end (never for the heights of the method's ranges: points up to 100 m, flames
// up to 45 m), so that one distance never costs more than about 700 levels.
constexpr double kCoarseCm = 50;
constexpr double kMaxCoarseSteps = 256;
// Each refinement steps a tenth of the previous step (0.5 m, 5 cm, 1 cm), around the two
// highest local maxima of what is known so far, within one previous step of each.
constexpr double kRefineDivisor = 10;
constexpr int kRefinedMaxima = 2;
// The method moves every point this far from the face (as the many-points function does).
constexpr double kDistanceOffset = 1e-8; // m

double metres(double centimetres)
{
    return centimetres / 100;
}

// The centimetre at or below a height typed in metres (2.3 m is 230 cm, not 229).
double floorCentimetres(double z)
{
    return std::floor(z * 100 + 1e-7);
}

FieldResult refusedField(const CalculationResult &refusal)
{
    FieldResult field;
    field.status = refusal.status;
    field.message = refusal.message;
    return field;
}

} // namespace

Assessor::Assessor(const CalculationInput &input, bool envelope, char decimalSeparator)
    : m_heights(input.heights.begin(), input.heights.end())
    , m_envelope(envelope && !input.indoor)
    , m_indoor(input.indoor)
    , m_separator(decimalSeparator)
{
    if (m_indoor)
        m_heights.resize(1);
    m_top = m_heights.front();
    for (double z : m_heights)
        m_top = std::isnan(m_top) || std::isnan(z) ? NAN : std::max(m_top, z);
}

FieldResult Assessor::highest(const CalculationInput &storage, const std::vector<double> &distances,
                              const RefineRange &refine, std::vector<Highest> &out) const
{
    if (m_envelope)
        return envelope(storage, distances, refine, out);
    std::vector<FieldPoint> points;
    points.reserve(distances.size() * m_heights.size());
    for (double x : distances) {
        for (double z : m_heights)
            points.push_back({x, storage.y, z});
    }
    FieldResult field = CalculateField(storage, points, m_separator);
    if (!field.ok())
        return field;
    out.assign(distances.size(), Highest {});
    const std::size_t n = m_heights.size();
    for (std::size_t i = 0; i < distances.size(); ++i) {
        for (std::size_t j = 0; j < n; ++j)
            take(out[i], field.levels[i * n + j], m_heights[j], storage);
    }
    return field;
}

FieldResult Assessor::envelope(const CalculationInput &storage, const std::vector<double> &distances,
                               const RefineRange &refine, std::vector<Highest> &out) const
{
    std::string unused;
    if (!std::isfinite(m_top))
        return refusedField(refuseLevel(NAN, m_separator, unused));
    CalculationState state;
    const CalculationResult prepared = prepareStorage(storage, state, m_separator);
    if (!prepared.ok())
        return refusedField(prepared);

    // The scan runs from 0 m to the highest point, or to the first centimetre at or above
    // the flame's top when the points reach above it.
    const double topCm = floorCentimetres(m_top);
    double flameTopCm = std::ceil(state.FlameHeight * 100);
    if (metres(flameTopCm) < state.FlameHeight)
        flameTopCm += 1;
    const bool aboveFlame = topCm > flameTopCm;
    const double endCm = aboveFlame ? flameTopCm : topCm;
    const double endZ = aboveFlame ? metres(flameTopCm) : m_top;
    const double coarseCm = std::max(kCoarseCm, std::ceil(endCm / kMaxCoarseSteps));

    std::vector<double> coarse;
    for (double z : m_heights) {
        if (z <= endZ)
            coarse.push_back(z);
    }
    const double steps = endCm >= 0 ? std::floor(endCm / coarseCm) : -1;
    for (double n = 0; n <= steps; ++n)
        coarse.push_back(metres(n * coarseCm));
    if (endZ >= 0)
        coarse.push_back(endZ);
    std::sort(coarse.begin(), coarse.end());
    coarse.erase(std::unique(coarse.begin(), coarse.end()), coarse.end());

    // Above the flame: the points there and the steps of the shielding, per distance.
    const bool shieldingSteps = aboveFlame && storage.screen && storage.K != 0;
    std::vector<FieldPoint> points;
    std::vector<std::size_t> firstOf;
    for (double x : distances) {
        firstOf.push_back(points.size());
        std::vector<double> heights = coarse;
        for (double z : m_heights) {
            if (z > endZ)
                heights.push_back(z);
        }
        if (shieldingSteps)
            addShieldingSteps(storage, state, x, endCm, topCm, heights);
        for (double z : heights)
            points.push_back({x, storage.y, z});
    }
    firstOf.push_back(points.size());
    FieldResult field = CalculateField(storage, points, m_separator);
    if (!field.ok())
        return field;

    out.assign(distances.size(), Highest {});
    std::vector<std::vector<Sample>> samples(distances.size());
    std::vector<std::size_t> active;
    for (std::size_t i = 0; i < distances.size(); ++i) {
        for (std::size_t p = firstOf[i]; p < firstOf[i + 1]; ++p)
            take(out[i], field.levels[p], points[p].z, storage);
        if (!(out[i].level > refine.above && out[i].level <= refine.upTo))
            continue;
        active.push_back(i);
        for (std::size_t j = 0; j < coarse.size(); ++j)
            samples[i].push_back({coarse[j], field.levels[firstOf[i] + j]});
    }
    const FieldResult refined = refineMaxima(storage, distances, samples, active, coarseCm, endCm, out);
    return refined.ok() ? field : refined;
}

void Assessor::addShieldingSteps(const CalculationInput &storage, const CalculationState &state, double x,
                                 double fromCm, double toCm, std::vector<double> &heights) const
{
    OutdoorPoint point = storagePoint(state, storage.screen);
    point.x = x + kDistanceOffset;
    const auto shielded = [&point](double centimetres) {
        point.z = metres(centimetres);
        return shieldedStrips(point);
    };
    const int first = shielded(fromCm);
    const int last = shielded(toCm);
    if (first < 0 || last < 0) {
        // A height whose line of sight cannot be placed: the field refuses it.
        heights.push_back(metres(first < 0 ? fromCm : toCm));
        return;
    }
    // The count of shielded strips follows a straight line through the screen's top edge,
    // so it changes one way only: find the first centimetre of each new count by bisection.
    const int direction = last > first ? 1 : -1;
    double below = fromCm;
    for (int count = first; count != last;) {
        const int target = count + direction;
        double above = toCm;
        while (above - below > 1) {
            const double middle = std::floor(below + (above - below) / 2);
            if (middle <= below || middle >= above)
                break; // beyond the centimetres a double holds
            const int k = shielded(middle);
            if (direction > 0 ? k >= target : k <= target)
                above = middle;
            else
                below = middle;
        }
        heights.push_back(metres(above));
        const int reached = shielded(above);
        if (reached < 0 || (direction > 0 ? reached <= count : reached >= count))
            break;
        count = reached;
        below = above;
    }
}

FieldResult Assessor::refineMaxima(const CalculationInput &storage, const std::vector<double> &distances,
                                   std::vector<std::vector<Sample>> &samples,
                                   const std::vector<std::size_t> &active, double coarseCm, double endCm,
                                   std::vector<Highest> &out) const
{
    for (std::size_t i : active)
        std::sort(samples[i].begin(), samples[i].end());
    double previous = coarseCm;
    while (previous > 1) {
        const double step = std::max(1.0, std::ceil(previous / kRefineDivisor));
        std::vector<FieldPoint> points;
        std::vector<std::size_t> owners;
        for (std::size_t i : active) {
            for (double centre : maxima(samples[i])) {
                const double c = std::round(centre * 100);
                const double from = std::max(0.0, c - previous);
                const double to = std::min(endCm, c + previous);
                // At most 2 × previous / step + 1 points: the count is bounded, whatever the heights.
                const double count = std::floor((to - from) / step);
                for (double n = 0; n <= count; ++n) {
                    points.push_back({distances[i], storage.y, metres(from + n * step)});
                    owners.push_back(i);
                }
            }
        }
        if (points.empty())
            break;
        const FieldResult fine = CalculateField(storage, points, m_separator);
        if (!fine.ok())
            return fine;
        for (std::size_t p = 0; p < points.size(); ++p) {
            samples[owners[p]].push_back({points[p].z, fine.levels[p]});
            take(out[owners[p]], fine.levels[p], points[p].z, storage);
        }
        for (std::size_t i : active)
            std::sort(samples[i].begin(), samples[i].end());
        previous = step;
    }
    return {};
}

std::vector<double> Assessor::maxima(const std::vector<Sample> &samples)
{
    std::vector<Sample> found;
    const std::size_t n = samples.size();
    for (std::size_t j = 0; j < n; ++j) {
        const bool left = j == 0 || samples[j].level >= samples[j - 1].level;
        const bool right = j + 1 == n || samples[j].level >= samples[j + 1].level;
        if (left && right)
            found.push_back(samples[j]);
    }
    std::sort(found.begin(), found.end(), [](const Sample &a, const Sample &b) { return a.level > b.level; });
    std::vector<double> heights;
    for (std::size_t j = 0; j < found.size() && j < std::size_t(kRefinedMaxima); ++j)
        heights.push_back(found[j].z);
    return heights;
}

void Assessor::take(Highest &best, double level, double z, const CalculationInput &storage) const
{
    if (!(level > best.level))
        return;
    best.level = level;
    best.height = m_indoor ? storage.H / 2 : z;
    const auto found = std::find(m_heights.begin(), m_heights.end(), z);
    best.point = found == m_heights.end() ? -1 : static_cast<int>(found - m_heights.begin());
}

} // namespace detail

HighestLevels HighestAlong(const CalculationInput &input, const std::vector<double> &distances, bool envelope,
                           char decimalSeparator)
{
    HighestLevels result;
    std::vector<detail::Highest> highest;
    const detail::Assessor assessor(input, envelope, decimalSeparator);
    const FieldResult field = assessor.highest(input, distances, detail::RefineRange {}, highest);
    if (!field.ok()) {
        result.status = field.status;
        result.message = field.message;
        return result;
    }
    for (const detail::Highest &one : highest) {
        result.levels.push_back(one.level);
        result.heights.push_back(one.height);
    }
    return result;
}

EnvelopeLevel EnvelopeAt(const CalculationInput &input, double x, double y, char decimalSeparator)
{
    CalculationInput at = input;
    at.x = x;
    at.y = y;
    EnvelopeLevel result;
    std::vector<detail::Highest> highest;
    const detail::Assessor assessor(at, true, decimalSeparator);
    const FieldResult field = assessor.highest(at, {x}, detail::RefineRange {}, highest);
    if (!field.ok()) {
        result.status = field.status;
        result.message = field.message;
        return result;
    }
    result.level = highest.front().level;
    result.height = highest.front().height;
    result.point = highest.front().point;
    return result;
}

} // namespace engine
