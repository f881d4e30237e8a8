#include "assessor.h"
#include "input_ranges.h"
#include "limit.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>

namespace engine {
namespace {

using detail::Assessor;
using detail::Highest;
using detail::RefineRange;

// Every answer is a whole number of centimetres; searching on that grid makes the
// rounding exact: the answer complies and its neighbour one step further does not.
using Centimetres = long long;

// Whole centimetres of a length. The solvers convert only lengths they have checked to
// lie within their search ranges; the clamp keeps the conversion defined for any value.
Centimetres centimetres(double metres)
{
    constexpr double kBound = 1e12;
    const double cm = std::round(metres * 100);
    if (!(cm > -kBound))
        return Centimetres(-kBound);
    if (!(cm < kBound))
        return Centimetres(kBound);
    return static_cast<Centimetres>(cm);
}

double metres(Centimetres n)
{
    return static_cast<double>(n) / 100;
}

const Centimetres kFirstDistance = centimetres(kDistanceSearch.minimum);
const Centimetres kLastDistance = centimetres(kDistanceSearch.maximum);
const Centimetres kLastHeight = centimetres(kHeightSearch.maximum);
const Centimetres kLastWidth = centimetres(kWidthSearch.maximum);
// The smallest pile the height and width searches judge: one centimetre, which is also the
// smallest width the front ends accept, so that every answer can be typed in again.
constexpr Centimetres kSmallest = 1;
static_assert(kSmallest == 1 && kWidthRange.method.minimum == 0.01,
              "the width search starts at the smallest width");

// The coarse scans that bracket every crossing: distances and widths grow by a fixed
// ratio (the level falls roughly with the square of the distance), heights go in equal
// steps. Known kinks of the method are added to the scan on both sides.
constexpr double kDistanceRatio = 1.08;
constexpr double kWidthRatio = 1.08;
constexpr Centimetres kHeightStep = 10;

// While solving, a distance whose coarse highest is already above the limit needs no
// refining of its envelope, and one below this share of the limit does not reach the limit
// when refined. That holds where the scan's 0.5 m steps are fine against the flame; for a
// flame of a few decimetres the answer's own refined envelope shows it, and the search
// runs again refining every envelope.
constexpr double kRefineShare = 0.8;

// Past a crossing found by bisection the level may still wobble around the limit for a
// few centimetres, because the screen shields whole flame strips and the pile's height
// sets the strips' temperatures strip by strip; a short stretch beyond the answer is
// checked at every centimetre. Without a screen the level is smooth in the distance.
constexpr Centimetres kWobbleReach = 20;
constexpr Centimetres kSizeWobbleReach = 10;
constexpr int kMaxRounds = 50;

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
        const double cm = kink * 100;
        // Also passes over kinks that are not a number.
        if (!(cm >= static_cast<double>(first) - 1 && cm <= static_cast<double>(last) + 1))
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

Solution refused(Solution solution, const FieldResult &refusal)
{
    return refused(std::move(solution), refusal.status, refusal.message);
}

Solution notFound(Solution solution, std::string message)
{
    solution.found = false;
    solution.message = std::move(message);
    return solution;
}

// The answer's levels as Calculate gives them, and its highest level.
Solution answer(Solution solution, const CalculationInput &storage, const Highest &highest, char separator)
{
    CalculationState state;
    const CalculationResult result = Calculate(storage, state, separator);
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
    DistanceSolver(const CalculationInput &input, const Assessor &assessor, double limit, char separator,
                   const RefineRange &refine)
        : m_input(input)
        , m_assessor(assessor)
        , m_limit(limit)
        , m_separator(separator)
        , m_refine(refine)
    { }

    Solution run(Solution solution)
    {
        // The start is checked before it becomes a whole number of centimetres.
        const double firstDistance = FirstDistance(m_input);
        if (std::isnan(firstDistance)) {
            std::string unused;
            const CalculationResult refusal = detail::refuseLevel(NAN, m_separator, unused);
            return refused(solution, refusal.status, refusal.message);
        }
        if (!(firstDistance <= kDistanceSearch.maximum))
            return notFound(solution,
                            "De afscherming staat op " + numberToText(m_input.xs, m_separator)
                                + " m van de opslag: achter de afscherming ligt geen afstand tot "
                                + numberToText(kDistanceSearch.maximum, m_separator) + " m om te zoeken.");
        m_first = centimetres(firstDistance);
        const std::string none = "Geen afstand tot 1000 m voldoet: ook op 1000 m is het "
                                 "warmtestralingsniveau hoger dan "
            + detail::limitText(m_limit, m_separator) + " kW/m².";

        const std::vector<Centimetres> scan = geometricScan(m_first, kLastDistance, kDistanceRatio);
        std::vector<Highest> highest;
        if (!assess(scan, highest))
            return refused(solution, m_refusal);
        std::size_t last = scan.size();
        for (std::size_t i = 0; i < scan.size(); ++i) {
            if (highest[i].level > m_limit)
                last = i;
        }
        if (last == scan.size())
            return finish(solution, m_first);
        if (last + 1 == scan.size())
            return notFound(solution, none);

        Centimetres lo = scan[last];
        Centimetres hi = scan[last + 1];
        for (int round = 0; round < kMaxRounds; ++round) {
            if (!bisect(lo, hi))
                return refused(solution, m_refusal);
            if (!m_input.screen || m_input.indoor)
                return finish(solution, hi);
            Centimetres worst = 0;
            if (!lastFailureBeyond(hi, worst))
                return refused(solution, m_refusal);
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
        m_refusal = m_assessor.highest(m_input, toMetres(distances), m_refine, highest);
        return m_refusal.ok();
    }

    // lo does not comply, hi does; afterwards they are neighbours.
    bool bisect(Centimetres &lo, Centimetres &hi)
    {
        while (hi - lo > 1) {
            const Centimetres mid = lo + (hi - lo) / 2;
            std::vector<Highest> one;
            if (!assess({mid}, one))
                return false;
            (one.front().level > m_limit ? lo : hi) = mid;
        }
        return true;
    }

    // The farthest distance that does not comply in the stretch just beyond `answer`; 0
    // when all of it complies.
    bool lastFailureBeyond(Centimetres answer, Centimetres &worst)
    {
        const Centimetres end = std::min(kLastDistance, answer + std::max(kWobbleReach, answer / 50));
        std::vector<Centimetres> stretch;
        for (Centimetres n = answer + 1; n <= end; ++n)
            stretch.push_back(n);
        std::vector<Highest> beyond;
        if (!assess(stretch, beyond))
            return false;
        worst = 0;
        for (std::size_t i = 0; i < stretch.size(); ++i) {
            if (beyond[i].level > m_limit)
                worst = stretch[i];
        }
        return true;
    }

    Solution finish(Solution solution, Centimetres distance)
    {
        CalculationInput storage = m_input;
        storage.x = metres(distance);
        std::vector<Highest> highest;
        m_refusal = m_assessor.highest(storage, {storage.x}, RefineRange {}, highest);
        if (!m_refusal.ok())
            return refused(solution, m_refusal);
        solution.value = storage.x;
        solution.bound = distance == m_first ? SolutionBound::Lowest : SolutionBound::None;
        return answer(solution, storage, highest.front(), m_separator);
    }

    const CalculationInput &m_input;
    const Assessor &m_assessor;
    double m_limit;
    char m_separator;
    RefineRange m_refine;
    Centimetres m_first = kFirstDistance;
    FieldResult m_refusal;
};

enum class Verdict { Complies, Exceeds, NoFire, Refused };

// A value of the searched size that complies, and its highest level.
struct Candidate
{
    Centimetres value = 0; // 0: none yet
    Highest highest;
};

// The largest height or width of the storage such that every smaller value complies at
// the entered distance; the width in front of the middle of the face.
class LargestSolver
{
public:
    LargestSolver(const CalculationInput &input, SolveQuantity quantity, const Assessor &assessor,
                  double limit, char separator, const RefineRange &refine)
        : m_input(input)
        , m_quantity(quantity)
        , m_assessor(assessor)
        , m_limit(limit)
        , m_separator(separator)
        , m_refine(refine)
    { }

    Solution run(Solution solution)
    {
        const std::vector<Centimetres> scan =
            m_quantity == SolveQuantity::Height ? heightScan() : widthScan();
        std::vector<Verdict> verdicts;
        std::vector<Highest> highs;
        if (!scanToFailure(scan, verdicts, highs))
            return refused(solution, m_refusal);
        if (std::count(verdicts.begin(), verdicts.end(), Verdict::NoFire) == std::ptrdiff_t(verdicts.size()))
            return refused(solution, m_refusal);
        const std::size_t failure = verdicts.back() == Verdict::Exceeds ? verdicts.size() - 1 : scan.size();
        Candidate best = bestBelow(scan, verdicts, highs, failure);
        if (failure == scan.size())
            return finish(solution, best);

        Centimetres lo = failure > 0 ? scan[failure - 1] : 0;
        Centimetres hi = scan[failure];
        for (int round = 0; round < kMaxRounds && best.value != 0; ++round) {
            if (!bisect(lo, hi, best))
                return refused(solution, m_refusal);
            // A wobble just below the crossing, or a value with fire between the last
            // complying one and the crossing that does not comply, is an earlier failure.
            Centimetres earlier = 0;
            if (!earlierFailure(lo, earlier) || (earlier == 0 && !largestWithFire(lo, best, earlier)))
                return refused(solution, m_refusal);
            if (earlier == 0)
                return finish(solution, best);
            const auto index =
                static_cast<std::size_t>(std::lower_bound(scan.begin(), scan.end(), earlier) - scan.begin());
            if (index == 0)
                break;
            hi = earlier;
            lo = scan[index - 1];
            best = bestBelow(scan, verdicts, highs, index);
        }
        return notFound(solution, noneMessage());
    }

private:
    CalculationInput storageAt(Centimetres n) const
    {
        CalculationInput storage = m_input;
        if (m_quantity == SolveQuantity::Height) {
            storage.H = metres(n);
        } else {
            storage.B = metres(n);
            storage.y = storage.B / 2;
        }
        return storage;
    }

    Verdict judge(Centimetres n, Highest &highest)
    {
        const CalculationInput storage = storageAt(n);
        std::vector<Highest> one;
        const FieldResult field = m_assessor.highest(storage, {storage.x}, m_refine, one);
        if (field.ok()) {
            highest = one.front();
            return highest.level > m_limit ? Verdict::Exceeds : Verdict::Complies;
        }
        m_refusal = field;
        switch (field.status) {
        case CalculationStatus::FlameHeightNotPositive:
        case CalculationStatus::FlameHeightAtPileHeight:
            return Verdict::NoFire;
        case CalculationStatus::NegativeLevel:
            return Verdict::Exceeds;
        default:
            return Verdict::Refused; // no other size changes these
        }
    }

    // The scan from the smallest value up to the first that does not comply.
    bool scanToFailure(const std::vector<Centimetres> &scan, std::vector<Verdict> &verdicts,
                       std::vector<Highest> &highs)
    {
        for (Centimetres n : scan) {
            Highest highest;
            const Verdict verdict = judge(n, highest);
            if (verdict == Verdict::Refused)
                return false;
            verdicts.push_back(verdict);
            highs.push_back(highest);
            if (verdict == Verdict::Exceeds)
                break;
        }
        return true;
    }

    // The largest complying value of the scan below `index`.
    static Candidate bestBelow(const std::vector<Centimetres> &scan, const std::vector<Verdict> &verdicts,
                               const std::vector<Highest> &highs, std::size_t index)
    {
        for (std::size_t i = std::min(index, verdicts.size()); i-- > 0;) {
            if (verdicts[i] == Verdict::Complies)
                return {scan[i], highs[i]};
        }
        return {};
    }

    // lo complies or has no fire, hi does not comply; afterwards they are neighbours.
    bool bisect(Centimetres &lo, Centimetres &hi, Candidate &best)
    {
        while (hi - lo > 1) {
            const Centimetres mid = lo + (hi - lo) / 2;
            Highest highest;
            switch (judge(mid, highest)) {
            case Verdict::Refused:
                return false;
            case Verdict::Exceeds:
                hi = mid;
                break;
            case Verdict::Complies:
                best = {mid, highest};
                lo = mid;
                break;
            case Verdict::NoFire:
                lo = mid;
                break;
            }
        }
        return true;
    }

    // The first value that does not comply in the stretch just below `lo`; 0 when none.
    bool earlierFailure(Centimetres lo, Centimetres &earlier)
    {
        earlier = 0;
        for (Centimetres n = std::max(kSmallest, lo - kSizeWobbleReach); n < lo; ++n) {
            Highest highest;
            const Verdict verdict = judge(n, highest);
            if (verdict == Verdict::Refused)
                return false;
            if (verdict == Verdict::Exceeds) {
                earlier = n;
                return true;
            }
        }
        return true;
    }

    // The answer is the largest value up to `lo` that has a fire. Between the last
    // complying value and `lo` every value judged so far had none; the flame ends there
    // for a stretch of sizes (the power law's flame height falls below 0 before the flame
    // law changes), so the last value with fire is found by bisection. If it does not
    // comply, it is an earlier failure.
    bool largestWithFire(Centimetres lo, Candidate &best, Centimetres &earlier)
    {
        // lo complied (and is the best) or had no fire.
        Centimetres fire = best.value;
        Centimetres none = lo;
        Verdict verdict = Verdict::Complies;
        while (none - fire > 1) {
            const Centimetres mid = fire + (none - fire) / 2;
            Highest highest;
            const Verdict judged = judge(mid, highest);
            if (judged == Verdict::Refused)
                return false;
            if (judged == Verdict::NoFire) {
                none = mid;
                continue;
            }
            fire = mid;
            verdict = judged;
            if (judged == Verdict::Complies)
                best = {mid, highest};
        }
        if (verdict == Verdict::Exceeds)
            earlier = fire;
        return true;
    }

    Solution finish(Solution solution, Candidate best)
    {
        if (best.value == 0)
            return notFound(solution, noneMessage());
        const CalculationInput storage = storageAt(best.value);
        std::vector<Highest> one;
        if (m_assessor.highest(storage, {storage.x}, RefineRange {}, one).ok())
            best.highest = one.front();
        solution.value = storage.H;
        if (m_quantity == SolveQuantity::Width) {
            solution.value = storage.B;
            solution.position = storage.y;
        }
        const Centimetres top = m_quantity == SolveQuantity::Height ? kLastHeight : kLastWidth;
        solution.bound = best.value == top ? SolutionBound::Highest : SolutionBound::None;
        return answer(solution, storage, best.highest, m_separator);
    }

    std::string noneMessage() const
    {
        const bool height = m_quantity == SolveQuantity::Height;
        return std::string(height ? "Geen hoogte tot 15 m voldoet" : "Geen breedte tot 10000 m voldoet")
            + ": op " + numberToText(m_input.x, m_separator)
            + " m afstand komt het warmtestralingsniveau al bij de " + (height ? "laagste" : "smalste")
            + " opslag boven " + detail::limitText(m_limit, m_separator) + " kW/m².";
    }

    std::vector<Centimetres> heightScan() const
    {
        std::vector<Centimetres> scan {kSmallest};
        for (Centimetres n = kHeightStep; n <= kLastHeight; n += kHeightStep)
            scan.push_back(n);
        // The counted face width reaches the width, and the limited face's equivalent
        // diameter reaches the flame law's threshold.
        addKinks(scan,
                 {detail::heightWhereFaceReaches(m_input.B),
                  detail::heightWhereFaceReaches(detail::widthAtFlameBranch(m_input.D))},
                 kSmallest, kLastHeight);
        return scan;
    }

    std::vector<Centimetres> widthScan() const
    {
        const double face = detail::countedFaceWidth(m_input.H + 1e-5);
        Centimetres last = kLastWidth;
        // Beyond the counted face width nothing changes with the width any more, with the
        // point in front of the middle of the face.
        if (!m_input.indoor && face * 100 + 2 < static_cast<double>(kLastWidth))
            last = static_cast<Centimetres>(std::ceil(face * 100)) + 2;
        std::vector<Centimetres> scan = geometricScan(kSmallest, last, kWidthRatio);
        scan.push_back(kLastWidth);
        addKinks(scan, {face, detail::widthAtFlameBranch(m_input.D)}, kSmallest, kLastWidth);
        return scan;
    }

    const CalculationInput &m_input;
    SolveQuantity m_quantity;
    const Assessor &m_assessor;
    double m_limit;
    char m_separator;
    RefineRange m_refine;
    FieldResult m_refusal;
};

} // namespace

Solution Solve(const CalculationInput &input, SolveQuantity quantity, double limitKw, bool envelope,
               char decimalSeparator)
{
    Solution solution;
    solution.quantity = quantity;
    if (!detail::limitInRange(limitKw, decimalSeparator, solution.message)) {
        solution.status = CalculationStatus::LimitOutOfRange;
        return solution;
    }
    solution.limit = limitKw * 1000;
    solution.position = input.y;
    const Assessor assessor(input, envelope, decimalSeparator);
    const auto search = [&](const RefineRange &refine) {
        if (quantity == SolveQuantity::Distance)
            return DistanceSolver(input, assessor, solution.limit, decimalSeparator, refine).run(solution);
        return LargestSolver(input, quantity, assessor, solution.limit, decimalSeparator, refine)
            .run(solution);
    };
    const Solution quick = search(RefineRange {kRefineShare * solution.limit, solution.limit});
    if (quick.ok() && quick.found && quick.highest > quick.limit)
        return search(RefineRange {});
    return quick;
}

double FirstDistance(const CalculationInput &input)
{
    const double nearest = kDistanceSearch.minimum;
    if (!input.screen || input.indoor)
        return nearest;
    if (std::isnan(input.xs))
        return NAN;
    // A screen typed as 2.3 m is 230 cm, not 229.99999...: the first centimetre beyond is 231.
    const double beyond = (std::floor(input.xs * 100 + 1e-7) + 1) / 100;
    return std::max(nearest, beyond);
}

} // namespace engine
