// libFuzzer harness: the limit check, the envelope, the three solvers, the two grids and the
// contours, called with anything: raw bit patterns, ±1e308, denormals, heights and screens
// far beyond any storage. The engine's promises are the checks: every answer is finite or
// refused with a message; a verdict comes from a scan that ran (the envelope is never below
// the points, nor below a height its scan must have looked at); an answer lies in its
// search range and says where it lies against the range's edge. The work is bounded:
// libFuzzer's -timeout and -rss_limit_mb stop an input that takes too long or too much.

#include "contour.h"
#include "field.h"
#include "fuzz_support.h"
#include "input_ranges.h"
#include "limit.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using fuzz::require;

// Values at the edges of the arithmetic, whole bit patterns, or plausible inputs.
double nextValue(FuzzedDataProvider &data)
{
    static const double kEdges[] = {0,        -0.0,    NAN,      INFINITY, -INFINITY, DBL_MAX,
                                    -DBL_MAX, DBL_MIN, 4.9e-324, 1e308,    -1e308,    1e17,
                                    1e8,      1e4,     -1,       1e-6,     0.01,      15};
    const unsigned char choice = data.ConsumeIntegral<unsigned char>();
    if (choice < 64)
        return kEdges[choice % (sizeof kEdges / sizeof kEdges[0])];
    if (choice < 192)
        return data.ConsumeFloatingPointInRange<double>(-20, 60);
    double raw = 0;
    const auto bytes = data.ConsumeBytes<unsigned char>(sizeof raw);
    if (!bytes.empty())
        std::memcpy(&raw, bytes.data(), bytes.size());
    return raw;
}

bool finite(const std::vector<double> &values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

void requireRefusal(engine::CalculationStatus status, const std::string &message)
{
    require(status != engine::CalculationStatus::Ok, "a refusal with status Ok");
    require(!message.empty(), "a refusal without a message");
}

// The check, and the envelope against heights its scan must have looked at: every point,
// 0 m, and (with an efficiency from 0 to 1, where the fall above the flame holds) a whole
// half metre up to the highest point.
void check(const engine::CalculationInput &input, double limitKw, bool envelope, FuzzedDataProvider &data)
{
    const engine::LimitCheck result = engine::CheckLimit(input, limitKw, envelope, ',');
    if (!result.ok()) {
        requireRefusal(result.status, result.message);
        return;
    }
    require(std::isfinite(result.highest) && std::isfinite(result.envelopeHighest),
            "a level that is not finite");
    require(std::isfinite(result.height) && std::isfinite(result.envelopeHeight),
            "a height that is not finite");
    require(result.complies == (result.highest <= result.limit), "a verdict that is not the level's");
    require(result.envelopeComplies == (result.envelopeHighest <= result.limit), "an envelope verdict");
    engine::CalculationState state;
    const engine::CalculationResult points = engine::Calculate(input, state);
    require(points.ok(), "a check of a storage the calculation refuses");
    for (double level : points.levels)
        require(result.envelopeHighest >= level, "the envelope below a point");
    if (input.indoor)
        return;
    const double top = *std::max_element(input.heights.begin(), input.heights.end());
    if (!(top >= 0))
        return;
    std::vector<engine::FieldPoint> heights {{input.x, input.y, 0}};
    const bool falls = !input.screen || (input.K >= 0 && input.K <= 1);
    const double halfMetres = std::floor(std::min(top, 256.0) * 2);
    const double z = data.ConsumeFloatingPointInRange<double>(0, 1) * halfMetres;
    if (falls || std::floor(z) / 2 <= state.FlameHeight)
        heights.push_back({input.x, input.y, std::floor(z) / 2});
    const engine::FieldResult field = engine::CalculateField(input, heights);
    if (!field.ok())
        return;
    for (double level : field.levels)
        require(result.envelopeHighest >= level, "the envelope below a height its scan must see");
}

void solve(const engine::CalculationInput &input, engine::SolveQuantity quantity, double limitKw,
           bool envelope)
{
    const engine::Solution solution = engine::Solve(input, quantity, limitKw, envelope, ',');
    if (!solution.ok()) {
        requireRefusal(solution.status, solution.message);
        return;
    }
    if (!solution.found) {
        require(!solution.message.empty(), "no answer and no message");
        return;
    }
    require(std::isfinite(solution.value) && std::isfinite(solution.highest) && std::isfinite(solution.height)
                && std::isfinite(solution.position),
            "an answer that is not finite");
    require(finite(solution.levels) && !solution.levels.empty(), "an answer's levels");
    require(solution.highest <= solution.limit, "an answer that does not comply");
    require(solution.value == std::round(solution.value * 100) / 100, "an answer off the centimetres");
    switch (quantity) {
    case engine::SolveQuantity::Distance:
        require(solution.value >= engine::kDistanceSearch.minimum
                    && solution.value <= engine::kDistanceSearch.maximum,
                "a distance outside the search");
        require((solution.bound == engine::SolutionBound::Lowest)
                    == (solution.value == std::round(engine::FirstDistance(input) * 100) / 100),
                "a distance's bound");
        break;
    case engine::SolveQuantity::Height:
        require(solution.value > 0 && solution.value <= engine::kHeightSearch.maximum,
                "a height outside the search");
        require((solution.bound == engine::SolutionBound::Highest)
                    == (solution.value == engine::kHeightSearch.maximum),
                "a height's bound");
        break;
    case engine::SolveQuantity::Width:
        require(solution.value >= 0.01 && solution.value <= engine::kWidthSearch.maximum,
                "a width outside the search");
        require(solution.position == solution.value / 2, "a width not judged in front of the middle");
        break;
    }
}

engine::FieldGrid smallGrid(FuzzedDataProvider &data)
{
    engine::FieldGrid grid;
    const int columns = data.ConsumeIntegralInRange(0, 4);
    const int rows = data.ConsumeIntegralInRange(0, 4);
    const int heights = data.ConsumeIntegralInRange(1, 3);
    for (int i = 0; i < columns; ++i)
        grid.x.push_back(nextValue(data));
    for (int j = 0; j < rows; ++j)
        grid.y.push_back(nextValue(data));
    for (int h = 0; h < heights; ++h)
        grid.heights.push_back(nextValue(data));
    return grid;
}

void grids(const engine::CalculationInput &input, FuzzedDataProvider &data, bool picture)
{
    const engine::FieldGrid grid = smallGrid(data);
    engine::FieldOptions options;
    options.threads = 2;
    const engine::FieldResult field = picture ? engine::CalculateFieldPicture(input, grid, options)
                                              : engine::CalculateFieldHighest(input, grid, options);
    if (!field.ok()) {
        requireRefusal(field.status, field.message);
        return;
    }
    require(field.levels.size() == grid.x.size() * grid.y.size(), "a grid of the wrong size");
    require(finite(field.levels), "a grid level that is not finite");
    for (double level : field.levels)
        require(level >= 0 || !picture, "a picture's level below 0");
}

void contours(FuzzedDataProvider &data)
{
    engine::ScalarGrid grid;
    grid.nx = data.ConsumeIntegralInRange(-1, 6);
    grid.ny = data.ConsumeIntegralInRange(-1, 6);
    grid.x0 = nextValue(data);
    grid.dx = nextValue(data);
    grid.y0 = nextValue(data);
    grid.dy = nextValue(data);
    const int values = data.ConsumeIntegralInRange(0, 36);
    for (int v = 0; v < values; ++v)
        grid.values.push_back(nextValue(data));
    const double level = nextValue(data);
    const bool finiteNodes = std::isfinite(grid.x0 + 6 * grid.dx) && std::isfinite(grid.y0 + 6 * grid.dy)
        && std::isfinite(grid.x0) && std::isfinite(grid.y0);
    for (const engine::ContourLine &line : engine::ContourLines(grid, level)) {
        require(line.points.size() >= 2, "a contour line of one point");
        for (const engine::ContourPoint &point : line.points)
            require(!finiteNodes || (std::isfinite(point.x) && std::isfinite(point.y)),
                    "a contour point off the grid");
    }
    for (const engine::ContourSegment &segment : engine::ContourSegments(grid, level))
        require(!finiteNodes || (std::isfinite(segment.a.x) && std::isfinite(segment.b.y)),
                "a segment off the grid");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const unsigned char what = data.ConsumeIntegralInRange<unsigned char>(0, 8);
    if (what == 8) {
        contours(data);
        return 0;
    }
    const engine::CalculationInput input = fuzz::ConsumeStorage(data, nextValue);
    const bool envelope = data.ConsumeBool();
    const double limitKw =
        data.ConsumeBool() ? nextValue(data) : data.ConsumeFloatingPointInRange<double>(0.1, 100);

    std::snprintf(fuzz::asked, sizeof fuzz::asked,
                  "operation %d: B %.17g D %.17g H %.17g x %.17g y %.17g hs %.17g xs %.17g K %.17g "
                  "z %.17g %.17g %.17g %.17g %.17g indoor %d compact %d screen %d envelope %d limit %.17g",
                  int(what), input.B, input.D, input.H, input.x, input.y, input.hs, input.xs, input.K,
                  input.heights[0], input.heights[1], input.heights[2], input.heights[3], input.heights[4],
                  input.indoor, input.compact, input.screen, envelope, limitKw);
    static const bool show = std::getenv("FUZZ_LIMIT_SHOW") != nullptr; // to see what a slow input asks
    if (show)
        std::fprintf(stderr, "%s\n", fuzz::asked);
    switch (what) {
    case 0:
        check(input, limitKw, envelope, data);
        break;
    case 1: {
        const std::vector<double> distances {nextValue(data), nextValue(data), nextValue(data)};
        const engine::HighestLevels along = engine::HighestAlong(input, distances, envelope, ',');
        if (!along.ok())
            requireRefusal(along.status, along.message);
        else
            require(along.levels.size() == 3 && finite(along.levels) && finite(along.heights),
                    "highest along");
        break;
    }
    case 2: {
        const engine::EnvelopeLevel at = engine::EnvelopeAt(input, nextValue(data), nextValue(data), ',');
        if (!at.ok())
            requireRefusal(at.status, at.message);
        else
            require(std::isfinite(at.level) && std::isfinite(at.height), "an envelope at a point");
        break;
    }
    case 3:
    case 4:
    case 5:
        solve(input, engine::SolveQuantity(what - 3), limitKw, envelope);
        break;
    default:
        grids(input, data, what == 7);
        break;
    }
    return 0;
}
