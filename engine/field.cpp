#include "field.h"

#include "fire_models.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace engine {
namespace {

// Points handed to a thread at a time: big enough that the threads rarely meet at the
// counter, small enough that they finish together.
constexpr std::size_t kChunk = 64;

// The storage's share of the calculation, computed once: its state, flame profile and
// strip edges. Each point adds its own distance, position and height.
struct Storage
{
    const CalculationInput &input;
    CalculationState state;
    detail::FlameProfile profile;
};

void computeLevels(const Storage &storage, const std::vector<FieldPoint> &points, std::vector<double> &levels,
                   std::atomic<std::size_t> &next)
{
    const CalculationInput &input = storage.input;
    const CalculationState &state = storage.state;
    detail::OutdoorPoint point = detail::storagePoint(state, input.screen);
    detail::StripWork work;
    std::array<double, CalculationState::ArraySize> viewFactor;
    std::array<double, CalculationState::ArraySize> flux;
    for (;;) {
        const std::size_t begin = next.fetch_add(kChunk);
        if (begin >= points.size())
            return;
        const std::size_t end = std::min(points.size(), begin + kChunk);
        for (std::size_t i = begin; i < end; ++i) {
            const FieldPoint &p = points[i];
            const double x = p.x + 1e-8;
            const double f = detail::pointFraction(input, state.CountedFaceWidth, p.y);
            if (input.indoor) {
                levels[i] = detail::indoorLevel(x, state.StorageHeight, state.StorageWidth, f);
                continue;
            }
            point.x = x;
            point.f = f;
            point.z = p.z;
            detail::StripResult strips {viewFactor.data(), flux.data()};
            levels[i] = detail::outdoorLevel(point, storage.profile, work, strips);
        }
    }
}

} // namespace

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator)
{
    return CalculateField(storage, points, decimalSeparator, FieldOptions());
}

FieldResult CalculateField(const CalculationInput &storage, const std::vector<FieldPoint> &points,
                           char decimalSeparator, const FieldOptions &options)
{
    FieldResult field;
    Storage shared {storage, {}, {}};
    const CalculationResult prepared = detail::prepareStorage(storage, shared.state, decimalSeparator);
    if (!prepared.ok()) {
        field.status = prepared.status;
        field.message = prepared.message;
        return field;
    }
    if (!storage.indoor)
        detail::computeFlameProfile(shared.state, storage.compact, shared.profile);

    field.levels.resize(points.size());
    unsigned threads = options.threads ? options.threads : std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, (points.size() + kChunk - 1) / kChunk));
    std::atomic<std::size_t> next {0};
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t)
        helpers.emplace_back([&] { computeLevels(shared, points, field.levels, next); });
    computeLevels(shared, points, field.levels, next);
    for (std::thread &helper : helpers)
        helper.join();

    // The first point in the order asked that the method cannot give refuses the field,
    // as a window with that point would.
    for (double level : field.levels) {
        if (std::isfinite(level) && level >= 0)
            continue;
        std::string text;
        const CalculationResult refusal = detail::refuseLevel(level, decimalSeparator, text);
        if (!refusal.ok()) {
            field.status = refusal.status;
            field.message = refusal.message;
            field.levels.clear();
            return field;
        }
    }
    return field;
}

} // namespace engine
