// libFuzzer harness: the calculation of "Bereken" from any doubles, NaN and infinities
// included. A result the engine calls Ok must hold only finite, non-negative levels,
// texts that are numbers and a finite state; a refusal must explain itself. Any
// violation aborts, and the fuzzer keeps the input that caused it.

#include "fuzz_support.h"
#include "number_text.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <regex>

namespace {

using fuzz::require;

// Values near the edges of the method, whole bit patterns, or plausible inputs.
double nextValue(FuzzedDataProvider &data)
{
    static const double kEdges[] = {0,       -0.0,  NAN,  INFINITY, -INFINITY, DBL_MAX,
                                    DBL_MIN, 1e307, 1e15, -1,       1e-6};
    const unsigned char choice = data.ConsumeIntegral<unsigned char>();
    if (choice < 48)
        return kEdges[choice % (sizeof kEdges / sizeof kEdges[0])];
    if (choice < 160)
        return data.ConsumeFloatingPointInRange<double>(-100, 10000);
    double raw = 0;
    const auto bytes = data.ConsumeBytes<unsigned char>(sizeof raw);
    if (!bytes.empty())
        std::memcpy(&raw, bytes.data(), bytes.size());
    return raw;
}

// Digits, one optional decimal comma, an optional exponent "E+dd": what a user may see.
bool isNumberText(const std::string &text, bool negativeAllowed)
{
    static const std::regex number("-?[0-9]+(,[0-9]+)?(E[+-][0-9]{2,})?");
    return std::regex_match(text, number) && (negativeAllowed || text[0] != '-');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const engine::CalculationInput input = fuzz::ConsumeStorage(data, nextValue);

    const double any = nextValue(data);
    if (std::isfinite(any))
        require(isNumberText(engine::numberToText(any, ','), true), "number text of a finite value");

    engine::CalculationState state;
    const engine::CalculationResult result = engine::Calculate(input, state, ',');
    if (!result.ok()) {
        require(!result.message.empty(), "a refusal without a message");
        require(result.levels.empty() && result.texts.empty(), "a refusal with levels");
        return 0;
    }
    const std::size_t points = input.indoor ? 1 : 5;
    require(result.levels.size() == points && result.texts.size() == points, "number of levels");
    for (std::size_t i = 0; i < points; ++i) {
        require(std::isfinite(result.levels[i]), "a level that is not finite");
        require(result.levels[i] >= 0 || result.texts[i] == "0", "a negative level");
        require(isNumberText(result.texts[i], false), "a shown level that is no number");
    }
    for (double value :
         {state.StorageWidth, state.StorageDepth, state.StorageHeight, state.PointDistance,
          state.ScreenDistance, state.ScreenEfficiency, state.ScreenHeight, state.CountedFaceWidth,
          state.PointFraction, state.EquivalentDiameter, state.FlameHeight, state.Transmission})
        require(std::isfinite(value), "a state that is not finite");
    return 0;
}
