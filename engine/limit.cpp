#include "limit.h"

#include "calculation_state.h"
#include "field.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace engine {
namespace {

// Every answer is a whole number of centimetres; searching on that grid makes the
// rounding exact: the answer complies and its neighbour one step further does not.
using Centimetres = long;

constexpr Centimetres kFirstDistance = 10;    // 0.1 m
constexpr Centimetres kLastDistance = 100000; // 1000 m
constexpr Centimetres kLastHeight = 1500;     // 15 m
constexpr Centimetres kLastWidth = 1000000;   // 10000 m

// The coarse scans that bracket every crossing: distances and widths grow by a fixed
// ratio (the level falls roughly with the square of the distance), heights go in equal
// steps. Known kinks of the method are added to the scan on both sides.
constexpr double kDistanceRatio = 1.08;
constexpr double kWidthRatio = 1.08;
constexpr Centimetres kHeightStep = 10;

// The envelope: a coarse scan of the heights, refined around its two highest local
// maxima in steps of 5 cm and then 1 cm. While solving, a distance whose coarse highest
// is already above the limit needs no refining, and one below this share of the limit
// cannot reach the limit when refined.
constexpr Centimetres kEnvelopeStep = 50;
constexpr Centimetres kEnvelopeSteps[] = {5, 1};
constexpr int kRefinedMaxima = 2;
constexpr double kRefineShare = 0.8;

// Past a crossing found by bisection the level may still wobble around the limit for a
// few centimetres, because the screen shields whole flame strips and the pile's height
// sets the strips' temperatures strip by strip; a short stretch beyond the answer is
// checked at every centimetre. Without a screen the level is smooth in the distance.
constexpr Centimetres kWobbleReach = 20;
constexpr Centimetres kSizeWobbleReach = 10;
constexpr int kMaxRounds = 50;

// The equivalent diameter where the flame height changes from the power law to a
// multiple of the pile height: B x D x 4 / 3.141592 = 10².
constexpr double kBranchArea = 100 * 3.141592 / 4;

double metres(Centimetres n)
{
    return static_cast<double>(n) / 100;
}

Centimetres toCentimetres(double value)
{
    return static_cast<Centimetres>(std::llround(value * 100));
}

// The limit as the user entered it (kW/m²): not rounded to two decimals.
std::string kw(double limit)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", limit / 1000);
    return text;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The levels whose envelope is worth refining: above `above` and up to `upTo`.
struct RefineRange
{
    double above = -kInfinity;
    double upTo = kInfinity;
};

struct Highest
{
    double level = -kInfinity;
    double height = 0;
    int point = 0;
};

// The highest level of one storage at many distances at once, over the five points or
// over the envelope of heights, with one many-points calculation per batch.
class Assessor
{
public:
    Assessor(const CalculationInput &input, bool envelope)
        : m_heights(input.heights.begin(), input.heights.end())
        , m_envelope(envelope && !input.indoor)
        , m_indoor(input.indoor)
    {
        if (m_indoor) {
            m_heights.resize(1);
            return;
        }
        if (!m_envelope)
            return;
        m_top = *std::max_element(m_heights.begin(), m_heights.end());
        m_topCm = static_cast<Centimetres>(std::floor(m_top * 100 + 1e-7));
        m_coarse = m_heights;
        for (Centimetres z = 0; z <= m_topCm; z += kEnvelopeStep)
            m_coarse.push_back(metres(z));
        if (m_top >= 0)
            m_coarse.push_back(m_top);
        std::sort(m_coarse.begin(), m_coarse.end());
        m_coarse.erase(std::unique(m_coarse.begin(), m_coarse.end()), m_coarse.end());
    }

    // The envelope is refined only at distances whose coarse highest lies in `refine`;
    // the five points are exact anyway.
    FieldResult highest(const CalculationInput &storage, const std::vector<double> &distances,
                        const RefineRange &refine, std::vector<Highest> &out) const
    {
        const std::vector<double> &heights = m_envelope ? m_coarse : m_heights;
        FieldResult field = levels(storage, distances, heights);
        if (!field.ok())
            return field;
        out.assign(distances.size(), Highest {});
        const std::size_t n = heights.size();
        for (std::size_t i = 0; i < distances.size(); ++i) {
            for (std::size_t j = 0; j < n; ++j)
                take(out[i], field.levels[i * n + j], heights[j], storage);
        }
        if (!m_envelope)
            return field;

        std::vector<std::size_t> active;
        std::vector<std::vector<Sample>> samples(distances.size());
        for (std::size_t i = 0; i < distances.size(); ++i) {
            if (!(out[i].level > refine.above && out[i].level <= refine.upTo))
                continue;
            active.push_back(i);
            for (std::size_t j = 0; j < n; ++j)
                samples[i].push_back({heights[j], field.levels[i * n + j]});
        }
        Centimetres previous = kEnvelopeStep;
        for (Centimetres step : kEnvelopeSteps) {
            std::vector<FieldPoint> points;
            std::vector<std::size_t> owners;
            for (std::size_t i : active) {
                for (double centre : maxima(samples[i])) {
                    const Centimetres c = toCentimetres(centre);
                    const Centimetres from = std::max<Centimetres>(0, c - previous);
                    const Centimetres to = std::min(m_topCm, c + previous);
                    for (Centimetres z = from; z <= to; z += step) {
                        points.push_back({distances[i], storage.y, metres(z)});
                        owners.push_back(i);
                    }
                }
            }
            if (points.empty())
                break;
            const FieldResult fine = CalculateField(storage, points, '.');
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
        return field;
    }

private:
    struct Sample
    {
        double z;
        double level;
        bool operator<(const Sample &other) const { return z < other.z; }
    };

    // The heights of the highest local maxima of samples sorted by height.
    static std::vector<double> maxima(const std::vector<Sample> &samples)
    {
        std::vector<Sample> found;
        const std::size_t n = samples.size();
        for (std::size_t j = 0; j < n; ++j) {
            const bool left = j == 0 || samples[j].level >= samples[j - 1].level;
            const bool right = j + 1 == n || samples[j].level >= samples[j + 1].level;
            if (left && right)
                found.push_back(samples[j]);
        }
        std::sort(found.begin(), found.end(),
                  [](const Sample &a, const Sample &b) { return a.level > b.level; });
        std::vector<double> heights;
        for (std::size_t j = 0; j < found.size() && j < std::size_t(kRefinedMaxima); ++j)
            heights.push_back(found[j].z);
        return heights;
    }

    static FieldResult levels(const CalculationInput &storage, const std::vector<double> &distances,
                              const std::vector<double> &heights)
    {
        std::vector<FieldPoint> points;
        points.reserve(distances.size() * heights.size());
        for (double x : distances) {
            for (double z : heights)
                points.push_back({x, storage.y, z});
        }
        return CalculateField(storage, points, '.');
    }

    void take(Highest &best, double level, double z, const CalculationInput &storage) const
    {
        if (!(level > best.level))
            return;
        best.level = level;
        best.height = m_indoor ? storage.H / 2 : z;
        const auto found = std::find(m_heights.begin(), m_heights.end(), z);
        best.point = found == m_heights.end() ? -1 : static_cast<int>(found - m_heights.begin());
    }

    std::vector<double> m_heights;
    std::vector<double> m_coarse;
    bool m_envelope = false;
    bool m_indoor = false;
    double m_top = 0;
    Centimetres m_topCm = 0;
};

std::vector<Centimetres> geometricScan(Centimetres first, Centimetres last, double ratio)
{
    std::vector<Centimetres> scan;
    for (Centimetres n = first; n < last;) {
        scan.push_back(n);
        n = std::max(n + 1, static_cast<Centimetres>(std::ceil(static_cast<double>(n) * ratio)));
    }
    scan.push_back(last);
    return scan;
}

// Adds the centimetres on both sides of each kink inside [first, last] and sorts.
void addKinks(std::vector<Centimetres> &scan, const std::vector<double> &kinks, Centimetres first,
              Centimetres last)
{
    for (double kink : kinks) {
        if (!std::isfinite(kink))
            continue;
        const double cm = kink * 100;
        if (cm < static_cast<double>(first) - 1 || cm > static_cast<double>(last) + 1)
            continue;
        const auto below = static_cast<Centimetres>(std::floor(cm));
        for (Centimetres n = below - 1; n <= below + 2; ++n) {
            if (n >= first && n <= last)
                scan.push_back(n);
        }
    }
    std::sort(scan.begin(), scan.end());
    scan.erase(std::unique(scan.begin(), scan.end()), scan.end());
}

std::vector<double> toMetres(const std::vector<Centimetres> &values)
{
    std::vector<double> result;
    result.reserve(values.size());
    for (Centimetres n : values)
        result.push_back(metres(n));
    return result;
}

Solution refused(Solution solution, CalculationStatus status, const std::string &message)
{
    solution.status = status;
    solution.message = message;
    return solution;
}

Solution notFound(Solution solution, std::string message)
{
    solution.found = false;
    solution.message = std::move(message);
    return solution;
}

// The answer's levels as Calculate gives them, and its highest level.
Solution answer(Solution solution, const CalculationInput &storage, const Highest &highest)
{
    CalculationState state;
    const CalculationResult result = Calculate(storage, state, '.');
    if (!result.ok())
        return refused(solution, result.status, result.message);
    solution.found = true;
    solution.levels = result.levels;
    solution.highest = highest.level;
    solution.height = highest.height;
    return solution;
}

class DistanceSolver
{
public:
    DistanceSolver(const CalculationInput &input, const Assessor &assessor, double limit)
        : m_input(input)
        , m_assessor(assessor)
        , m_limit(limit)
    { }

    Solution run(Solution solution)
    {
        Centimetres first = kFirstDistance;
        if (m_input.screen && !m_input.indoor)
            first = std::max(first, static_cast<Centimetres>(std::floor(m_input.xs * 100 + 1e-7)) + 1);
        const std::string none = "Geen afstand tot 1000 m voldoet: ook op 1000 m is het "
                                 "warmtestralingsniveau hoger dan "
            + kw(m_limit) + " kW/m².";
        if (first > kLastDistance)
            return notFound(solution, none);

        const std::vector<Centimetres> scan = geometricScan(first, kLastDistance, kDistanceRatio);
        std::vector<Highest> highest;
        if (!assess(scan, highest))
            return refused(solution, m_refusal.status, m_refusal.message);
        std::size_t last = scan.size();
        for (std::size_t i = 0; i < scan.size(); ++i) {
            if (highest[i].level > m_limit)
                last = i;
        }
        if (last == scan.size())
            return finish(solution, first);
        if (last + 1 == scan.size())
            return notFound(solution, none);

        Centimetres lo = scan[last];
        Centimetres hi = scan[last + 1];
        for (int round = 0; round < kMaxRounds; ++round) {
            while (hi - lo > 1) {
                const Centimetres mid = lo + (hi - lo) / 2;
                std::vector<Highest> one;
                if (!assess({mid}, one))
                    return refused(solution, m_refusal.status, m_refusal.message);
                (one.front().level > m_limit ? lo : hi) = mid;
            }
            if (!m_input.screen || m_input.indoor)
                return finish(solution, hi);
            const Centimetres end = std::min(kLastDistance, hi + std::max(kWobbleReach, hi / 50));
            std::vector<Centimetres> stretch;
            for (Centimetres n = hi + 1; n <= end; ++n)
                stretch.push_back(n);
            std::vector<Highest> beyond;
            if (!assess(stretch, beyond))
                return refused(solution, m_refusal.status, m_refusal.message);
            Centimetres worst = 0;
            for (std::size_t i = 0; i < stretch.size(); ++i) {
                if (beyond[i].level > m_limit)
                    worst = stretch[i];
            }
            if (worst == 0)
                return finish(solution, hi);
            if (worst >= kLastDistance)
                return notFound(solution, none);
            lo = worst;
            hi = *std::upper_bound(scan.begin(), scan.end(), worst);
        }
        return finish(solution, hi);
    }

private:
    bool assess(const std::vector<Centimetres> &distances, std::vector<Highest> &highest)
    {
        m_refusal = m_assessor.highest(m_input, toMetres(distances),
                                       RefineRange {kRefineShare * m_limit, m_limit}, highest);
        return m_refusal.ok();
    }

    Solution finish(Solution solution, Centimetres distance)
    {
        CalculationInput storage = m_input;
        storage.x = metres(distance);
        std::vector<Highest> highest;
        m_refusal = m_assessor.highest(storage, {storage.x}, RefineRange {}, highest);
        if (!m_refusal.ok())
            return refused(solution, m_refusal.status, m_refusal.message);
        solution.value = storage.x;
        return answer(solution, storage, highest.front());
    }

    const CalculationInput &m_input;
    const Assessor &m_assessor;
    double m_limit;
    FieldResult m_refusal;
};

enum class Verdict { Complies, Exceeds, NoFire, Refused };

// The largest height or width of the storage such that every smaller value complies at
// the entered distance.
class LargestSolver
{
public:
    LargestSolver(const CalculationInput &input, SolveQuantity quantity, const Assessor &assessor,
                  double limit)
        : m_input(input)
        , m_quantity(quantity)
        , m_assessor(assessor)
        , m_limit(limit)
    { }

    Solution run(Solution solution)
    {
        const std::vector<Centimetres> scan =
            m_quantity == SolveQuantity::Height ? heightScan() : widthScan();
        const std::string none = m_quantity == SolveQuantity::Height
            ? "Geen hoogte tot 15 m voldoet: op " + numberToText(m_input.x, '.')
                + " m afstand komt het warmtestralingsniveau al bij de laagste "
                  "opslag boven "
                + kw(m_limit) + " kW/m²."
            : "Geen breedte tot 10000 m voldoet: op " + numberToText(m_input.x, '.')
                + " m afstand komt het warmtestralingsniveau al bij de smalste "
                  "opslag boven "
                + kw(m_limit) + " kW/m².";

        // The scan up to the first value that does not comply.
        std::size_t failure = scan.size();
        std::vector<Verdict> verdicts;
        std::vector<Highest> highs;
        for (std::size_t i = 0; i < scan.size() && failure == scan.size(); ++i) {
            Highest highest;
            const Verdict verdict = judge(scan[i], highest);
            if (verdict == Verdict::Refused)
                return refused(solution, m_refusal.status, m_refusal.message);
            if (verdict == Verdict::Exceeds)
                failure = i;
            verdicts.push_back(verdict);
            highs.push_back(highest);
        }
        if (std::count(verdicts.begin(), verdicts.end(), Verdict::NoFire) == std::ptrdiff_t(verdicts.size()))
            return refused(solution, m_refusal.status, m_refusal.message);
        // The largest complying value of the scan below a given index.
        Highest bestHighest;
        const auto bestBelow = [&](std::size_t index) {
            for (std::size_t i = index; i-- > 0;) {
                if (verdicts[i] == Verdict::Complies) {
                    bestHighest = highs[i];
                    return scan[i];
                }
            }
            return Centimetres(0);
        };
        Centimetres best = bestBelow(failure);
        if (failure == scan.size())
            return finish(solution, best, bestHighest);
        if (best == 0)
            return notFound(solution, none);

        Centimetres lo = failure > 0 ? scan[failure - 1] : 0;
        Centimetres hi = scan[failure];
        for (int round = 0; round < kMaxRounds; ++round) {
            while (hi - lo > 1) {
                const Centimetres mid = lo + (hi - lo) / 2;
                Highest highest;
                switch (judge(mid, highest)) {
                case Verdict::Refused:
                    return refused(solution, m_refusal.status, m_refusal.message);
                case Verdict::Exceeds:
                    hi = mid;
                    break;
                case Verdict::Complies:
                    best = mid;
                    bestHighest = highest;
                    lo = mid;
                    break;
                case Verdict::NoFire:
                    lo = mid;
                    break;
                }
            }
            // A wobble just below the crossing would be an earlier failure.
            Centimetres earlier = 0;
            for (Centimetres n = std::max<Centimetres>(1, lo - kSizeWobbleReach); n < lo; ++n) {
                Highest highest;
                const Verdict verdict = judge(n, highest);
                if (verdict == Verdict::Refused)
                    return refused(solution, m_refusal.status, m_refusal.message);
                if (verdict == Verdict::Exceeds) {
                    earlier = n;
                    break;
                }
            }
            if (earlier == 0)
                break;
            const std::size_t index =
                static_cast<std::size_t>(std::lower_bound(scan.begin(), scan.end(), earlier) - scan.begin());
            if (index == 0)
                return notFound(solution, none);
            hi = earlier;
            lo = scan[index - 1];
            best = bestBelow(index);
            if (best == 0)
                return notFound(solution, none);
        }
        // The last value below the crossing may have no fire; the answer is the largest
        // value below it that has one.
        if (best != lo) {
            for (Centimetres n = lo; n > best; --n) {
                Highest highest;
                const Verdict verdict = judge(n, highest);
                if (verdict == Verdict::Refused)
                    return refused(solution, m_refusal.status, m_refusal.message);
                if (verdict == Verdict::Complies) {
                    best = n;
                    bestHighest = highest;
                    break;
                }
            }
        }
        if (best == 0)
            return notFound(solution, none);
        return finish(solution, best, bestHighest);
    }

private:
    CalculationInput storageAt(Centimetres n) const
    {
        CalculationInput storage = m_input;
        (m_quantity == SolveQuantity::Height ? storage.H : storage.B) = metres(n);
        return storage;
    }

    Verdict judge(Centimetres n, Highest &highest)
    {
        const CalculationInput storage = storageAt(n);
        std::vector<Highest> one;
        const FieldResult field =
            m_assessor.highest(storage, {storage.x}, RefineRange {kRefineShare * m_limit, m_limit}, one);
        if (field.ok()) {
            highest = one.front();
            return highest.level > m_limit ? Verdict::Exceeds : Verdict::Complies;
        }
        m_refusal = field;
        switch (field.status) {
        case CalculationStatus::FlameHeightNotPositive:
        case CalculationStatus::FlameHeightAtPileHeight:
            return Verdict::NoFire;
        case CalculationStatus::WidthNotPositive:
            return Verdict::Refused;
        default:
            return Verdict::Exceeds;
        }
    }

    Solution finish(Solution solution, Centimetres n, Highest highest)
    {
        const CalculationInput storage = storageAt(n);
        if (m_assessor.highest(storage, {storage.x}, RefineRange {}, m_one).ok())
            highest = m_one.front();
        solution.value = metres(n);
        return answer(solution, storage, highest);
    }

    std::vector<Centimetres> heightScan() const
    {
        std::vector<Centimetres> scan {1};
        for (Centimetres n = kHeightStep; n <= kLastHeight; n += kHeightStep)
            scan.push_back(n);
        // The counted face width reaches the width, and the limited face's equivalent
        // diameter reaches 10 m.
        const double B = m_input.B;
        const double D = m_input.D;
        addKinks(scan, {4 + (B - 35) / 2.5, D > 0 ? 4 + (kBranchArea / D - 35) / 2.5 : NAN}, 1, kLastHeight);
        return scan;
    }

    std::vector<Centimetres> widthScan() const
    {
        CalculationState state;
        Calculate(m_input, state, '.');
        const double face = state.CountedFaceWidth;
        const double y = std::fabs(m_input.y);
        const double D = m_input.D;
        const std::vector<double> kinks {face, 2 * y, y, D > 0 ? kBranchArea / D : NAN};
        Centimetres last = kLastWidth;
        if (!m_input.indoor) {
            // Beyond the counted face width and twice the point's position nothing
            // changes with the width any more.
            const double constant = std::max(face, 2 * y);
            last = std::min(kLastWidth, static_cast<Centimetres>(std::ceil(constant * 100)) + 2);
        }
        std::vector<Centimetres> scan = geometricScan(1, last, kWidthRatio);
        scan.push_back(kLastWidth);
        addKinks(scan, kinks, 1, kLastWidth);
        return scan;
    }

    const CalculationInput &m_input;
    SolveQuantity m_quantity;
    const Assessor &m_assessor;
    double m_limit;
    FieldResult m_refusal;
    std::vector<Highest> m_one;
};

} // namespace

LimitCheck CheckLimit(const CalculationInput &input, double limitKw, bool envelope, char decimalSeparator)
{
    LimitCheck check;
    check.limit = limitKw * 1000;
    CalculationState state;
    const CalculationResult result = Calculate(input, state, decimalSeparator);
    if (!result.ok()) {
        check.status = result.status;
        check.message = result.message;
        return check;
    }
    const auto top = std::max_element(result.levels.begin(), result.levels.end());
    check.highest = *top;
    check.point = static_cast<int>(top - result.levels.begin());
    check.height = result.firstHeightWritten ? result.firstHeight : input.heights[std::size_t(check.point)];

    if (envelope && !input.indoor) {
        const Assessor assessor(input, true);
        std::vector<Highest> highest;
        const FieldResult field = assessor.highest(input, {input.x}, RefineRange {}, highest);
        if (!field.ok()) {
            check.status = field.status;
            check.message = field.message;
            return check;
        }
        if (highest.front().level > check.highest) {
            check.highest = highest.front().level;
            check.point = highest.front().point;
            check.height = highest.front().height;
        }
    }
    check.complies = check.highest <= check.limit;
    check.envelopeHighest = check.highest;
    check.envelopeHeight = check.height;
    check.envelopeComplies = check.complies;
    return check;
}

HighestLevels HighestAlong(const CalculationInput &input, const std::vector<double> &distances, bool envelope,
                           char /*decimalSeparator*/)
{
    HighestLevels result;
    std::vector<Highest> highest;
    const FieldResult field = Assessor(input, envelope).highest(input, distances, RefineRange {}, highest);
    if (!field.ok()) {
        result.status = field.status;
        result.message = field.message;
        return result;
    }
    for (const Highest &one : highest) {
        result.levels.push_back(one.level);
        result.heights.push_back(one.height);
    }
    return result;
}

Solution Solve(const CalculationInput &input, SolveQuantity quantity, double limitKw, bool envelope,
               char /*decimalSeparator*/)
{
    Solution solution;
    solution.quantity = quantity;
    solution.limit = limitKw * 1000;
    if (!(limitKw > 0) || !std::isfinite(limitKw))
        return notFound(solution, "De grenswaarde moet een getal groter dan 0 kW/m² zijn.");
    const Assessor assessor(input, envelope);
    if (quantity == SolveQuantity::Distance)
        return DistanceSolver(input, assessor, solution.limit).run(solution);
    return LargestSolver(input, quantity, assessor, solution.limit).run(solution);
}

double FirstDistance(const CalculationInput &input)
{
    if (input.screen && !input.indoor)
        return std::max(metres(kFirstDistance), std::floor(input.xs * 100 + 1e-7) / 100 + 0.01);
    return metres(kFirstDistance);
}

} // namespace engine
