#pragma once

// What the harnesses share: a broken promise reported with what the input asked, and a
// storage read from the fuzzer's bytes.

#include "calculate.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

// What the current input asks, printed beside a broken promise; a harness may fill it in.
inline char asked[512];

// Aborts, which makes the fuzzer keep the input, when `condition` does not hold.
inline void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "%s\n  %s\n", what, asked);
    std::abort();
}

// The calculation's inputs, each value from `next`.
inline engine::CalculationInput ConsumeStorage(FuzzedDataProvider &data, double (*next)(FuzzedDataProvider &))
{
    engine::CalculationInput input;
    for (double *value : {&input.B, &input.D, &input.H, &input.x, &input.hs, &input.xs, &input.K, &input.y})
        *value = next(data);
    for (double &height : input.heights)
        height = next(data);
    input.indoor = data.ConsumeBool();
    input.compact = data.ConsumeBool();
    input.screen = data.ConsumeBool();
    return input;
}

} // namespace fuzz
