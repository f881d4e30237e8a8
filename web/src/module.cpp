// The engine as the web page's Web Worker calls it: plain C functions that take the
// storage as JSON text (the keys of a case file's "calculation") and give their answers
// as JSON text, levels in W/m² unless a name says kW. The plan's levels stay in the
// module's memory, where the worker reads them as a Float64Array.

#include "calculate.h"
#include "case_file.h"
#include "contour.h"
#include "field.h"
#include "input_ranges.h"
#include "kernel.h"
#include "limit.h"
#include "number_text.h"
#include "views.h"

#include <emscripten/emscripten.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <string>
#include <vector>

using Json = nlohmann::json;

namespace {

// Every answer is kept here until the next call, long enough for the worker to copy it.
std::string &answerText()
{
    static std::string text;
    return text;
}

const char *answer(const Json &json)
{
    answerText() = json.dump();
    return answerText().c_str();
}

// A finite number or JSON null: the worker never sees "nan" or "inf".
Json number(double value)
{
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

Json numbers(const std::vector<double> &values)
{
    Json array = Json::array();
    for (double value : values)
        array.push_back(number(value));
    return array;
}

struct Request
{
    web::ViewInput input;
    std::string problem; // empty when the text was a complete storage
};

bool readNumber(const Json &object, const char *key, double &value, std::string &problem)
{
    const auto found = object.find(key);
    if (found == object.end())
        return true;
    if (!found->is_number()) {
        problem = std::string(key) + ": geen getal";
        return false;
    }
    value = found->get<double>();
    if (!std::isfinite(value)) {
        problem = std::string(key) + ": geen eindig getal";
        return false;
    }
    return true;
}

bool readFlag(const Json &object, const char *key, bool &value, std::string &problem)
{
    const auto found = object.find(key);
    if (found == object.end())
        return true;
    if (!found->is_boolean()) {
        problem = std::string(key) + ": geen true of false";
        return false;
    }
    value = found->get<bool>();
    return true;
}

// Missing keys keep the classic window's design values.
Request readRequest(const char *text)
{
    Request request;
    const Json object = Json::parse(text ? text : "", nullptr, false);
    if (!object.is_object()) {
        request.problem = "geen JSON-object";
        return request;
    }
    engine::CalculationInput &s = request.input.storage;
    std::string &problem = request.problem;
    const bool numbersRead = readNumber(object, "B", s.B, problem) && readNumber(object, "D", s.D, problem)
        && readNumber(object, "H", s.H, problem) && readNumber(object, "x", s.x, problem)
        && readNumber(object, "y", s.y, problem) && readNumber(object, "hs", s.hs, problem)
        && readNumber(object, "xs", s.xs, problem) && readNumber(object, "K", s.K, problem)
        && readNumber(object, "limit", request.input.limitKw, problem);
    const bool flagsRead = numbersRead && readFlag(object, "indoor", s.indoor, problem)
        && readFlag(object, "compact", s.compact, problem) && readFlag(object, "screen", s.screen, problem)
        && readFlag(object, "envelope", request.input.envelope, problem);
    if (!flagsRead)
        return request;
    const auto heights = object.find("heights");
    if (heights != object.end()) {
        if (!heights->is_array() || heights->size() != s.heights.size()) {
            problem = "heights: geen vijf getallen";
            return request;
        }
        for (std::size_t i = 0; i < s.heights.size(); ++i) {
            const Json &height = (*heights)[i];
            if (!height.is_number() || !std::isfinite(height.get<double>())) {
                problem = "heights: geen vijf getallen";
                return request;
            }
            s.heights[i] = height.get<double>();
        }
    }
    const auto separator = object.find("separator");
    if (separator != object.end() && separator->is_string() && separator->get<std::string>() == ".")
        request.input.separator = '.';
    return request;
}

const char *refusedRequest(const Request &request)
{
    return answer(Json {{"ok", false}, {"message", "Ongeldige vraag aan de rekenkern: " + request.problem}});
}

Json stateJson(const engine::CalculationState &state)
{
    return Json {
        {"StorageHeight", state.StorageHeight},
        {"ScreenHeight", state.ScreenHeight},
        {"CountedFaceWidth", state.CountedFaceWidth},
        {"StorageWidth", state.StorageWidth},
        {"StorageDepth", state.StorageDepth},
        {"EquivalentDiameter", number(state.EquivalentDiameter)},
        {"FlameHeight", number(state.FlameHeight)},
        {"ScreenEfficiency", state.ScreenEfficiency},
        {"PointDistance", state.PointDistance},
        {"ScreenDistance", state.ScreenDistance},
        {"BaseFlameTemperature", state.BaseFlameTemperature},
        {"TipFlameTemperature", state.TipFlameTemperature},
        {"Transmission", number(state.Transmission)},
        {"PointFraction", number(state.PointFraction)},
        {"StripCount", state.StripCount},
    };
}

Json checkJson(const engine::LimitCheck &check)
{
    return Json {
        {"ok", check.ok()},
        {"message", check.message},
        {"limit", number(check.limit)},
        {"highest", number(check.highest)},
        {"point", check.point >= 0 ? Json(check.point + 1) : Json(nullptr)},
        {"height", number(check.height)},
        {"complies", check.complies},
        {"envelopeHighest", number(check.envelopeHighest)},
        {"envelopeHeight", number(check.envelopeHeight)},
        {"envelopeComplies", check.envelopeComplies},
        {"compliesOnlyAtPoints", check.compliesOnlyAtPoints()},
    };
}

// As warmtegloed-cli --json says it: null for an ordinary answer.
Json boundJson(engine::SolutionBound bound)
{
    switch (bound) {
    case engine::SolutionBound::Lowest:
        return "lowest";
    case engine::SolutionBound::Highest:
        return "highest";
    case engine::SolutionBound::None:
        break;
    }
    return nullptr;
}

Json solutionJson(const engine::Solution &solution)
{
    return Json {
        {"ok", solution.ok()},
        {"message", solution.message},
        {"found", solution.found},
        {"value", number(solution.value)},
        {"limit", number(solution.limit)},
        {"levels", numbers(solution.levels)},
        {"highest", number(solution.highest)},
        {"height", number(solution.height)},
        {"bound", boundJson(solution.bound)},
        {"position", number(solution.position)},
    };
}

bool quantityOf(const char *name, engine::SolveQuantity &quantity)
{
    const std::string text = name ? name : "";
    if (text == "distance")
        quantity = engine::SolveQuantity::Distance;
    else if (text == "height")
        quantity = engine::SolveQuantity::Height;
    else if (text == "width")
        quantity = engine::SolveQuantity::Width;
    else
        return false;
    return true;
}

// The last plan band's levels (kW/m²), until the next band.
std::vector<double> &planValues()
{
    static std::vector<double> values;
    return values;
}

Json contourJson(const std::vector<engine::ContourLine> &lines)
{
    Json result = Json::array();
    for (const engine::ContourLine &line : lines) {
        Json points = Json::array();
        for (const engine::ContourPoint &point : line.points) {
            points.push_back(point.x);
            points.push_back(point.y);
        }
        result.push_back(Json {{"closed", line.closed}, {"points", points}});
    }
    return result;
}

Json calculationJson(const casefile::Calculation &calculation)
{
    const engine::CalculationInput &s = calculation.input;
    return Json {{"B", s.B},
                 {"D", s.D},
                 {"H", s.H},
                 {"x", s.x},
                 {"y", s.y},
                 {"heights", s.heights},
                 {"indoor", s.indoor},
                 {"compact", s.compact},
                 {"screen", s.screen},
                 {"hs", s.hs},
                 {"xs", s.xs},
                 {"K", s.K},
                 {"limit", calculation.limit},
                 {"envelope", calculation.envelope}};
}

// The names of a report, as the page keeps them.
Json metaJson(const casefile::Meta &meta)
{
    return Json {{"title", meta.title},     {"establishment", meta.establishment},
                 {"address", meta.address}, {"author", meta.author},
                 {"notes", meta.notes},     {"date", meta.date}};
}

void readMeta(const Json &object, casefile::Meta &meta)
{
    const auto text = [&](const char *key, std::string &field) {
        const auto found = object.find(key);
        if (found != object.end() && found->is_string())
            field = found->get<std::string>();
    };
    text("title", meta.title);
    text("establishment", meta.establishment);
    text("address", meta.address);
    text("author", meta.author);
    text("notes", meta.notes);
    text("date", meta.date);
}

} // namespace

extern "C" {

// What "Bereken" gives: the state, the levels (W/m²) and their texts, or the refusal.
EMSCRIPTEN_KEEPALIVE const char *wg_calculate(const char *input)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    engine::CalculationState state;
    const engine::CalculationResult result =
        engine::Calculate(request.input.storage, state, request.input.separator);
    Json json {
        {"ok", result.ok()},     {"message", result.message}, {"levels", numbers(result.levels)},
        {"texts", result.texts}, {"state", stateJson(state)},
    };
    if (result.firstHeightWritten)
        json["firstHeight"] = result.firstHeight;
    return answer(json);
}

// The highest level against the limit; "envelope" in the input chooses over what.
EMSCRIPTEN_KEEPALIVE const char *wg_check(const char *input)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    const web::ViewInput &in = request.input;
    return answer(checkJson(engine::CheckLimit(in.storage, in.limitKw, in.envelope, in.separator)));
}

// quantity: "distance", "height" or "width".
EMSCRIPTEN_KEEPALIVE const char *wg_solve(const char *input, const char *quantityName)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    engine::SolveQuantity quantity = engine::SolveQuantity::Distance;
    if (!quantityOf(quantityName, quantity))
        return answer(
            Json {{"ok", false}, {"message", "Ongeldige vraag aan de rekenkern: onbekende grootheid"}});
    const web::ViewInput &in = request.input;
    return answer(solutionJson(engine::Solve(in.storage, quantity, in.limitKw, in.envelope, in.separator)));
}

// Where the views start and end: the first distance (0.1 m or just beyond the screen),
// the last (from the entered distance and `minimalDistance`, the distance answer in m, or
// a negative number without one) and the plan's extent.
EMSCRIPTEN_KEEPALIVE const char *wg_view_extent(const char *input, double minimalDistance)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    const web::Extent extent = web::ExtentFor(request.input, minimalDistance);
    return answer(Json {
        {"ok", true},
        {"firstDistance", extent.firstDistance},
        {"lastDistance", extent.lastDistance},
        {"plan",
         Json {{"xFrom", extent.xFrom}, {"xTo", extent.xTo}, {"yFrom", extent.yFrom}, {"yTo", extent.yTo}}},
    });
}

// Level (kW/m²) against distance, `count` distances up to `lastDistance`.
EMSCRIPTEN_KEEPALIVE const char *wg_distance_profile(const char *input, double lastDistance, int count)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    const web::Curves curves = web::DistanceCurves(request.input, lastDistance, count < 2 ? 2 : count);
    if (!curves.refusal.empty())
        return answer(Json {{"ok", false}, {"message", curves.refusal}});
    Json levels = Json::array();
    for (const std::vector<double> &series : curves.levels)
        levels.push_back(numbers(series));
    const bool envelope = request.input.envelope && !request.input.storage.indoor;
    return answer(Json {
        {"ok", true},
        {"distances", numbers(curves.distances)},
        {"heights", numbers(curves.heights)},
        {"levels", levels},
        {"envelope", envelope ? numbers(curves.highest) : Json::array()},
        {"highest", numbers(curves.highest)},
    });
}

// Level (kW/m²) against height at the entered distance and position.
EMSCRIPTEN_KEEPALIVE const char *wg_height_profile(const char *input, int count)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    const web::HeightCurve curve = web::LevelAgainstHeight(request.input, count < 2 ? 2 : count);
    if (!curve.refusal.empty())
        return answer(Json {{"ok", false}, {"message", curve.refusal}});
    return answer(Json {
        {"ok", true},
        {"heights", numbers(curve.heights)},
        {"levels", numbers(curve.levels)},
        {"top", request.input.highestAssessmentHeight()},
    });
}

// A band of the plan: the highest level (kW/m²) over the judged heights at `columns`
// distances from `xFrom` on (step `dx`) and rows `rowFrom` to `rowTo` − 1 of the positions
// yFrom + row × dy. `exact` 0 draws a picture (single precision), 1 computes the exact
// levels. Bands of whole rows keep the picture's shared mirror rows together; the
// workers split a plan by its columns. The levels follow with wg_plan_values, row by row.
EMSCRIPTEN_KEEPALIVE const char *wg_plan_band(const char *input, double xFrom, double dx, int columns,
                                              double yFrom, double dy, int rowFrom, int rowTo, int exact)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    planValues().clear();
    if (columns < 1 || columns > 4000 || rowFrom < 0 || rowTo <= rowFrom || rowTo > 4000)
        return answer(Json {{"ok", false}, {"message", "Ongeldige vraag aan de rekenkern: raster"}});
    std::vector<double> x;
    std::vector<double> y;
    for (int i = 0; i < columns; ++i)
        x.push_back(xFrom + i * dx);
    for (int j = rowFrom; j < rowTo; ++j)
        y.push_back(yFrom + j * dy);
    const web::PlanLevels plan = web::PlanBand(request.input, x, y, exact != 0);
    if (!plan.refusal.empty())
        return answer(Json {{"ok", false}, {"message", plan.refusal}});
    planValues() = plan.levels;
    return answer(Json {{"ok", true}, {"count", planValues().size()}});
}

EMSCRIPTEN_KEEPALIVE const double *wg_plan_values()
{
    return planValues().data();
}

// Room for a whole plan's levels, which the worker copies in for wg_contours.
EMSCRIPTEN_KEEPALIVE double *wg_grid_buffer(int count)
{
    static std::vector<double> buffer;
    buffer.assign(count > 0 ? static_cast<std::size_t>(count) : 0, 0.0);
    return buffer.data();
}

// The isolines at `levelKw` of the grid in wg_grid_buffer (`columns` × `rows`, row by
// row): polylines of x, y pairs.
EMSCRIPTEN_KEEPALIVE const char *wg_contours(const double *values, int columns, int rows, double xFrom,
                                             double dx, double yFrom, double dy, double levelKw)
{
    engine::ScalarGrid grid;
    grid.nx = columns;
    grid.ny = rows;
    grid.x0 = xFrom;
    grid.dx = dx;
    grid.y0 = yFrom;
    grid.dy = dy;
    if (columns > 1 && rows > 1)
        grid.values.assign(values, values + static_cast<std::ptrdiff_t>(columns) * rows);
    else
        grid.nx = grid.ny = 0;
    return answer(Json {{"ok", true}, {"lines", contourJson(engine::ContourLines(grid, levelKw))}});
}

// The highest level (kW/m²) over the judged heights at one spot of the plan.
EMSCRIPTEN_KEEPALIVE const char *wg_level_at(const char *input, double x, double y)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    double value = 0;
    if (!web::LevelAt(request.input, x, y, value))
        return answer(Json {{"ok", false}});
    return answer(Json {{"ok", true}, {"level", number(value)}});
}

// The program's number-to-text rule: two decimals, halves to even, no trailing zeros.
EMSCRIPTEN_KEEPALIVE const char *wg_number_text(double value, int separator)
{
    answerText() = engine::numberToText(value, separator == '.' ? '.' : ',');
    return answerText().c_str();
}

// A case file's text (`length` bytes, UTF-8) as the page takes it: its calculation (the
// keys of wg_calculate), its names, whether it holds a site (which the page keeps but does
// not compute); or the reader's one Dutch line, numbers with a decimal comma.
EMSCRIPTEN_KEEPALIVE const char *wg_read_case(const char *text, int length)
{
    const casefile::ReadResult read =
        casefile::ReadCase(std::string_view(text, length > 0 ? length : 0), ',');
    if (!read.ok)
        return answer(Json {{"ok", false}, {"message", read.error}});
    return answer(Json {{"ok", true},
                        {"input", calculationJson(read.value.calculation)},
                        {"meta", metaJson(read.value.meta)},
                        {"hasSite", read.value.hasSite}});
}

// The text of a case file: `original` (the file opened last, `length` bytes, or none)
// with the calculation `input` (as wg_calculate takes it) and the names `meta` laid over
// it, so that what the page does not know stays as it was.
EMSCRIPTEN_KEEPALIVE const char *wg_write_case(const char *original, int length, const char *input,
                                               const char *meta)
{
    casefile::Case value;
    if (original && length > 0) {
        casefile::ReadResult read = casefile::ReadCase(std::string_view(original, length), ',');
        if (!read.ok)
            return answer(Json {{"ok", false}, {"message", read.error}});
        value = std::move(read.value);
    }
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    value.calculation.input = request.input.storage;
    value.calculation.limit = request.input.limitKw;
    value.calculation.envelope = request.input.envelope;
    const Json names = Json::parse(meta ? meta : "", nullptr, false);
    if (names.is_object())
        readMeta(names, value.meta);
    return answer(Json {{"ok", true}, {"text", casefile::WriteCase(value)}});
}

// The inputs' ranges, one owner for every front end: the classic window's and the
// method's, by the quantity's symbol.
EMSCRIPTEN_KEEPALIVE const char *wg_input_ranges()
{
    Json ranges = Json::object();
    for (const engine::QuantityRange &range :
         {engine::kWidthRange, engine::kDepthRange, engine::kHeightRange, engine::kDistanceRange,
          engine::kPositionRange, engine::kScreenHeightRange, engine::kScreenDistanceRange,
          engine::kEfficiencyRange, engine::kPointHeightRange, engine::kLimitRange}) {
        ranges[range.name] = Json {
            {"window", {range.window.minimum, range.window.maximum}},
            {"method", {range.method.minimum, range.method.maximum}},
            {"step", range.step},
        };
    }
    return answer(ranges);
}

EMSCRIPTEN_KEEPALIVE const char *wg_kernel_name()
{
    return engine::KernelTargetName();
}

} // extern "C"
