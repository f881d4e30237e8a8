#pragma once

#include <cstddef>

namespace engine {

// The corner view factor over many strip edges at once. The arithmetic runs in SIMD
// vectors on the widest instruction set the processor has (SSE2, AVX2 or AVX-512),
// chosen when the program first asks. The values agree with CornerViewFactor to a few
// units in the last place; the calculation's levels to far better than 1e-12.

// out[i] = CornerViewFactor(distance, heights[i], width) for i < count.
void CornerViewFactors(double distance, double width, const double *heights, double *out, std::size_t count);

// The instruction set the vectorised kernel runs on: "SSE2", "AVX2" or "AVX-512".
const char *KernelTargetName();

// true: the SSE2 baseline, whatever the processor offers; false: the best it offers.
// The environment variable WARMTEGLOED_KERNEL=sse2 (or avx2) sets the start value.
void ForceBaselineKernel(bool baseline);

namespace detail {

// The arctangents come from a SIMD mathematics library; the benchmark compares them.
enum class AtanLibrary { SleefU10, SleefU35, Libmvec, Highway };

const char *AtanLibraryName(AtanLibrary library);
AtanLibrary ChosenAtanLibrary();
void CornerViewFactorsWith(AtanLibrary library, double distance, double width, const double *heights,
                           double *out, std::size_t count);

} // namespace detail
} // namespace engine
