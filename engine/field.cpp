#include "field.h"

namespace engine {

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator)
{
    // One calculation per point; the flame profile is recomputed each time.
    FieldResult field;
    CalculationState state;
    CalculationInput input = storage;
    field.levels.reserve(points.size());
    for (const FieldPoint &point : points) {
        input.x = point.x;
        input.y = point.y;
        input.heights = {point.z, point.z, point.z, point.z, point.z};
        CalculationInput single = input;
        const CalculationResult result = Calculate(single, state, decimalSeparator);
        if (!result.ok()) {
            field.status = result.status;
            field.message = result.message;
            field.levels.clear();
            return field;
        }
        field.levels.push_back(result.levels.front());
    }
    return field;
}

} // namespace engine
