#include "limit.h"

#include "assessor.h"
#include "number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace engine {
namespace detail {

bool limitInRange(double limitKw, char decimalSeparator, std::string &message)
{
    // The front ends hold the user to kLimitRange; the engine refuses only what it cannot
    // compare a level with.
    if (!(limitKw > 0)) {
        message = "De grenswaarde moet een getal groter dan 0 kW/m² zijn.";
        return false;
    }
    if (!std::isfinite(limitKw * 1000)) {
        message = "De grenswaarde " + numberToText(limitKw, decimalSeparator)
            + " kW/m² is te groot om mee te rekenen.";
        return false;
    }
    return true;
}

std::string limitText(double limit, char decimalSeparator)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", limit / 1000);
    std::string result = text;
    std::replace(result.begin(), result.end(), '.', decimalSeparator);
    return result;
}

} // namespace detail

LimitCheck CheckLimit(const CalculationInput &input, double limitKw, bool envelope, char decimalSeparator)
{
    LimitCheck check;
    if (!detail::limitInRange(limitKw, decimalSeparator, check.message)) {
        check.status = CalculationStatus::LimitOutOfRange;
        return check;
    }
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
    check.complies = check.highest <= check.limit;

    // The envelope holds the five points, so it is never below them.
    detail::Highest between {check.highest, check.height, check.point};
    if (!input.indoor) {
        std::vector<detail::Highest> highest;
        const detail::Assessor assessor(input, true, decimalSeparator);
        const FieldResult field = assessor.highest(input, {input.x}, detail::RefineRange {}, highest);
        if (!field.ok()) {
            LimitCheck refused;
            refused.status = field.status;
            refused.message = field.message;
            refused.limit = check.limit;
            return refused;
        }
        if (highest.front().level > between.level)
            between = highest.front();
    }
    check.envelopeHighest = between.level;
    check.envelopeHeight = between.height;
    check.envelopeComplies = between.level <= check.limit;
    if (envelope) {
        check.highest = between.level;
        check.height = between.height;
        check.point = between.point;
        check.complies = check.envelopeComplies;
    }
    return check;
}

} // namespace engine
