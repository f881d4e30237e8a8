// The engine as the web page's Web Worker calls it: plain C functions that take the
// storage as JSON text (the keys of a case file's "calculation") and give their answers
// as JSON text, levels in W/m² unless a name says kW. The plan's levels stay in the
// module's memory, where the worker reads them as a Float64Array.

#include "calculate.h"
#include "contour.h"
#include "exploration.h"
#include "field.h"
#include "kernel.h"
#include "limit.h"
#include "number_text.h"

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
    explore::ExplorationInput input;
    char separator = ',';
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
        request.separator = '.';
    return request;
}

const char *refusedRequest(const Request &request)
{
    return answer(Json {{"ok", false}, {"message", "Ongeldige vraag aan de rekenkern: " + request.problem}});
}

const char *statusName(engine::CalculationStatus status)
{
    switch (status) {
    case engine::CalculationStatus::Ok:
        return "Ok";
    case engine::CalculationStatus::WidthNotPositive:
        return "WidthNotPositive";
    case engine::CalculationStatus::DepthNotPositive:
        return "DepthNotPositive";
    case engine::CalculationStatus::FlameHeightNotPositive:
        return "FlameHeightNotPositive";
    case engine::CalculationStatus::FlameHeightAtPileHeight:
        return "FlameHeightAtPileHeight";
    case engine::CalculationStatus::NegativeLevel:
        return "NegativeLevel";
    case engine::CalculationStatus::NotFinite:
        return "NotFinite";
    }
    return "";
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
        {"status", statusName(check.status)},
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

const char *boundName(engine::SolutionBound bound)
{
    switch (bound) {
    case engine::SolutionBound::None:
        return "none";
    case engine::SolutionBound::Lowest:
        return "lowest";
    case engine::SolutionBound::Highest:
        return "highest";
    }
    return "";
}

Json solutionJson(const engine::Solution &solution)
{
    return Json {
        {"ok", solution.ok()},
        {"status", statusName(solution.status)},
        {"message", solution.message},
        {"found", solution.found},
        {"value", number(solution.value)},
        {"limit", number(solution.limit)},
        {"levels", numbers(solution.levels)},
        {"highest", number(solution.highest)},
        {"height", number(solution.height)},
        {"bound", boundName(solution.bound)},
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

// The plan being computed: its grid, filled a band of rows at a time so that the worker
// can hear of a newer input between two bands.
struct Plan
{
    explore::ExplorationInput input;
    bool exact = false;
    engine::ScalarGrid grid;   // kW/m²
    std::vector<double> rowsY; // the grid's y of each row
};

Plan &plan()
{
    static Plan current;
    return current;
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
        engine::Calculate(request.input.storage, state, request.separator);
    Json json {
        {"ok", result.ok()},         {"status", statusName(result.status)},
        {"message", result.message}, {"levels", numbers(result.levels)},
        {"texts", result.texts},     {"state", stateJson(state)},
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
    const explore::ExplorationInput &in = request.input;
    return answer(checkJson(engine::CheckLimit(in.storage, in.limitKw, in.envelope, request.separator)));
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
    const explore::ExplorationInput &in = request.input;
    return answer(
        solutionJson(engine::Solve(in.storage, quantity, in.limitKw, in.envelope, request.separator)));
}

// Where the views start and end: the first distance (0.1 m or just beyond the screen),
// the last (from the entered distance and `minimalDistance`, the distance answer in m, or
// a negative number without one) and the plan's extent.
EMSCRIPTEN_KEEPALIVE const char *wg_view_extent(const char *input, double minimalDistance)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    explore::Answers answers;
    answers.distance.found = minimalDistance >= 0;
    answers.distance.value = minimalDistance;
    const explore::PlanExtent extent = explore::PlanExtentFor(request.input, answers);
    return answer(Json {
        {"ok", true},
        {"firstDistance", explore::FirstDistance(request.input)},
        {"lastDistance", explore::LastDistance(request.input, answers)},
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
    explore::Refusal refusal;
    const explore::DistanceProfile profile =
        explore::ComputeDistanceProfile(request.input, lastDistance, count < 2 ? 2 : count, refusal);
    if (refusal.refused())
        return answer(Json {{"ok", false}, {"message", refusal.message}});
    Json levels = Json::array();
    for (const std::vector<double> &series : profile.levels)
        levels.push_back(numbers(series));
    return answer(Json {
        {"ok", true},
        {"distances", numbers(profile.distances)},
        {"heights", numbers(profile.heights)},
        {"levels", levels},
        {"envelope", numbers(profile.envelope)},
        {"highest", numbers(profile.highest)},
    });
}

// Level (kW/m²) against height at the entered distance and position.
EMSCRIPTEN_KEEPALIVE const char *wg_height_profile(const char *input, int count)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    explore::Refusal refusal;
    const explore::HeightProfile profile =
        explore::ComputeHeightProfile(request.input, count < 2 ? 2 : count, refusal);
    if (refusal.refused())
        return answer(Json {{"ok", false}, {"message", refusal.message}});
    return answer(Json {
        {"ok", true},
        {"heights", numbers(profile.heights)},
        {"levels", numbers(profile.levels)},
        {"worstHeight", number(profile.worstHeight)},
        {"worstLevel", number(profile.worstLevel)},
        {"top", request.input.highestAssessmentHeight()},
    });
}

// Starts a plan of `columns` × `rows` points over the extent; `exact` 0 draws it as a
// picture (single precision), 1 with the exact levels. The rows follow with wg_plan_rows.
EMSCRIPTEN_KEEPALIVE const char *wg_plan_begin(const char *input, double xFrom, double xTo, double yFrom,
                                               double yTo, int columns, int rows, int exact)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    if (columns < 2 || rows < 2 || columns > 2000 || rows > 2000 || !(xTo > xFrom) || !(yTo > yFrom))
        return answer(Json {{"ok", false}, {"message", "Ongeldige vraag aan de rekenkern: raster"}});
    Plan &p = plan();
    p.input = request.input;
    p.exact = exact != 0;
    p.grid = engine::ScalarGrid {};
    p.grid.nx = columns;
    p.grid.ny = rows;
    p.grid.x0 = xFrom;
    p.grid.y0 = yFrom;
    p.grid.dx = (xTo - xFrom) / (columns - 1);
    p.grid.dy = (yTo - yFrom) / (rows - 1);
    p.grid.values.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), 0.0);
    p.rowsY.clear();
    for (int j = 0; j < rows; ++j)
        p.rowsY.push_back(yFrom + j * p.grid.dy);
    return answer(Json {{"ok", true}});
}

// Computes rows `from` to `to` − 1 of the plan begun last.
EMSCRIPTEN_KEEPALIVE const char *wg_plan_rows(int from, int to)
{
    Plan &p = plan();
    if (from < 0 || to > p.grid.ny || from >= to)
        return answer(Json {{"ok", false}, {"message", "Ongeldige vraag aan de rekenkern: rijen"}});
    engine::FieldGrid grid;
    for (int i = 0; i < p.grid.nx; ++i)
        grid.x.push_back(p.grid.x0 + i * p.grid.dx);
    grid.y.assign(p.rowsY.begin() + from, p.rowsY.begin() + to);
    grid.heights = explore::JudgedHeights(p.input);
    engine::FieldOptions oneThread;
    oneThread.threads = 1;
    const engine::FieldResult field = p.exact
        ? engine::CalculateFieldHighest(p.input.storage, grid, oneThread)
        : engine::CalculateFieldPicture(p.input.storage, grid, oneThread);
    if (!field.ok()) {
        const std::string message =
            field.message.empty() ? std::string("Voor deze invoer is niets te berekenen.") : field.message;
        return answer(Json {{"ok", false}, {"message", message}});
    }
    const std::size_t first = static_cast<std::size_t>(from) * static_cast<std::size_t>(p.grid.nx);
    for (std::size_t i = 0; i < field.levels.size(); ++i)
        p.grid.values[first + i] = field.levels[i] / 1000;
    return answer(Json {{"ok", true}});
}

// The plan's levels in kW/m², row by row (rows along the face, columns outwards).
EMSCRIPTEN_KEEPALIVE const double *wg_plan_values()
{
    return plan().grid.values.data();
}

// The isolines of the plan at `levelKw`: polylines of x, y pairs.
EMSCRIPTEN_KEEPALIVE const char *wg_plan_contours(double levelKw)
{
    return answer(Json {{"ok", true}, {"lines", contourJson(engine::ContourLines(plan().grid, levelKw))}});
}

// The highest level (kW/m²) over the judged heights at one spot of the plan.
EMSCRIPTEN_KEEPALIVE const char *wg_level_at(const char *input, double x, double y)
{
    const Request request = readRequest(input);
    if (!request.problem.empty())
        return refusedRequest(request);
    double value = 0;
    if (!explore::PlanLevelAt(request.input, x, y, value))
        return answer(Json {{"ok", false}});
    return answer(Json {{"ok", true}, {"level", number(value)}});
}

// The program's number-to-text rule: two decimals, halves to even, no trailing zeros.
EMSCRIPTEN_KEEPALIVE const char *wg_number_text(double value, int separator)
{
    answerText() = engine::numberToText(value, separator == '.' ? '.' : ',');
    return answerText().c_str();
}

EMSCRIPTEN_KEEPALIVE const char *wg_kernel_name()
{
    return engine::KernelTargetName();
}

} // extern "C"
