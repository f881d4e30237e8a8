#include "calculate.h"

#include "fire_models.h"
#include "number_text.h"

#include <cmath>

namespace engine {
namespace {

// The user-facing explanations of the cases the method cannot compute.
const char *const kWidthNotPositive = "De breedte van de opslag moet groter zijn dan 0 m.";
const char *const kDepthNotPositive = "De diepte van de opslag moet groter zijn dan 0 m.";
const char *const kFlameHeightNotPositivePrefix = "Voor deze afmetingen komt de vlamhoogte uit op ";
const char *const kFlameHeightNotPositiveSuffix =
    " m, dus op of onder 0 m.\nVergroot de hoogte of de afmetingen van de opslag.";
const char *const kFlameHeightAtPileHeight =
    "Voor deze afmetingen is de vlamhoogte gelijk aan de hoogte van de opslag;\n"
    "het temperatuurverloop van de vlam is dan niet bepaald. Pas de afmetingen aan.";
const char *const kNegativeLevel = "Voor deze invoer komt het warmtestralingsniveau negatief uit.\n"
                                   "Controleer de ingevoerde waarden.";
const char *const kNotFinite = "Voor deze invoer is geen warmtestralingsniveau te berekenen.\n"
                               "Controleer de ingevoerde waarden.";

constexpr double kMinimumFaceWidth = 35; // m, counted up to a pile height of 4 m
constexpr double kFaceWidthFromHeight = 4;
constexpr double kFaceWidthGrowth = 2.5; // m per m of pile height above 4 m
constexpr double kPi = 3.141592;
constexpr double kFlameBranchDiameter = 10; // m: below it the power law, from it on a multiple of H

CalculationResult failure(CalculationStatus status, std::string message)
{
    CalculationResult result;
    result.status = status;
    result.message = std::move(message);
    return result;
}

// The numbers the report and the CLI's JSON show besides the levels.
bool stateIsFinite(const CalculationState &state)
{
    for (double value :
         {state.StorageHeight, state.ScreenHeight, state.CountedFaceWidth, state.StorageWidth,
          state.StorageDepth, state.EquivalentDiameter, state.FlameHeight, state.ScreenEfficiency,
          state.PointDistance, state.ScreenDistance, state.BaseFlameTemperature, state.TipFlameTemperature,
          state.Transmission, state.PointFraction}) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace

namespace detail {

double pointFraction(const CalculationInput &input, double countedFaceWidth, double y)
{
    double pointOffset = y + 1e-6;
    if (input.indoor)
        return pointOffset / input.B;
    const double B = input.B + 1e-6;
    // Measured from the nearer side of the face.
    if (pointOffset > 0.5 * B)
        pointOffset = B - pointOffset;
    if (countedFaceWidth < B) {
        if (pointOffset > 0.5 * countedFaceWidth)
            return 0.5;
        return pointOffset / countedFaceWidth;
    }
    return pointOffset / input.B;
}

double countedFaceWidth(double storageHeight)
{
    const double width = (storageHeight - kFaceWidthFromHeight) * kFaceWidthGrowth + kMinimumFaceWidth;
    return width < kMinimumFaceWidth ? kMinimumFaceWidth : width;
}

double heightWhereFaceReaches(double width)
{
    return kFaceWidthFromHeight + (width - kMinimumFaceWidth) / kFaceWidthGrowth;
}

double widthAtFlameBranch(double depth)
{
    return kFlameBranchDiameter * kFlameBranchDiameter * kPi / 4 / depth;
}

CalculationResult prepareStorage(const CalculationInput &input, CalculationState &state,
                                 char decimalSeparator)
{
    state.StorageWidth = input.B + 1e-6;
    state.StorageDepth = input.D + 1e-6;
    state.StorageHeight = input.H + 1e-5;
    state.PointDistance = input.x + 1e-8;
    state.ScreenDistance = input.xs;
    state.ScreenEfficiency = input.K;

    const double H = state.StorageHeight;
    if (!input.indoor)
        state.CountedFaceWidth = countedFaceWidth(H);
    state.PointFraction = pointFraction(input, state.CountedFaceWidth, input.y);
    if (!input.indoor && state.CountedFaceWidth < state.StorageWidth)
        state.StorageWidth = state.CountedFaceWidth;

    const double B = state.StorageWidth;
    const double D = state.StorageDepth;
    state.EquivalentDiameter = std::pow((B * D) * 4 / kPi, 0.5);
    if (state.EquivalentDiameter < kFlameBranchDiameter)
        state.FlameHeight =
            0.24 * std::pow((state.EquivalentDiameter * H) * 2000, 2.0 / 5) - state.EquivalentDiameter;
    else
        state.FlameHeight = input.compact ? 1.5 * H : 3 * H;
    state.ScreenHeight = input.screen ? input.hs : 0;

    if (!(input.B > 0))
        return failure(CalculationStatus::WidthNotPositive, kWidthNotPositive);
    // Without a depth the equivalent diameter, and so the flame, is undefined.
    if (!(input.D > 0))
        return failure(CalculationStatus::DepthNotPositive, kDepthNotPositive);
    if (!input.indoor) {
        if (!std::isfinite(state.FlameHeight))
            return failure(CalculationStatus::NotFinite, kNotFinite);
        if (state.FlameHeight <= 0)
            return failure(CalculationStatus::FlameHeightNotPositive,
                           kFlameHeightNotPositivePrefix + numberToText(state.FlameHeight, decimalSeparator)
                               + kFlameHeightNotPositiveSuffix);
        if (state.FlameHeight == state.StorageHeight)
            return failure(CalculationStatus::FlameHeightAtPileHeight, kFlameHeightAtPileHeight);
    }
    return CalculationResult();
}

CalculationResult refuseLevel(double level, char decimalSeparator, std::string &text)
{
    if (!std::isfinite(level))
        return failure(CalculationStatus::NotFinite, kNotFinite);
    text = numberToText(level / 1000, decimalSeparator);
    if (level < 0 && text != "0")
        return failure(CalculationStatus::NegativeLevel, kNegativeLevel);
    return CalculationResult();
}

} // namespace detail

CalculationResult Calculate(const CalculationInput &input, CalculationState &state, char decimalSeparator)
{
    CalculationResult result = detail::prepareStorage(input, state, decimalSeparator);
    if (!result.ok())
        return result;

    if (input.indoor) {
        result.firstHeightWritten = true;
        result.firstHeight = 0.5 * state.StorageHeight;
        result.levels.push_back(CalcIndoorLevel(state));
    } else {
        detail::FlameProfile profile;
        detail::computeFlameProfile(state, input.compact, profile);
        detail::writeFlame(state, profile);
        for (double z : input.heights)
            result.levels.push_back(detail::outdoorLevel(state, z, input.screen, profile));
    }

    for (double level : result.levels) {
        std::string text;
        CalculationResult refusal = detail::refuseLevel(level, decimalSeparator, text);
        if (!refusal.ok())
            return refusal;
        result.texts.push_back(text);
    }
    if (!stateIsFinite(state))
        return failure(CalculationStatus::NotFinite, kNotFinite);
    return result;
}

} // namespace engine
