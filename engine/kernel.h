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
// The environment variable WARMTEGLOED_KERNEL=sse2 (or avx2) sets the start value; any
// other value is ignored, and said so once on the standard error stream (the engine has
// no other channel: it is the one message it writes itself).
void ForceBaselineKernel(bool baseline);

namespace detail {

// The Stefan–Boltzmann constant as the method has it (W/m²K⁴).
constexpr double kSigma = 5.67e-8;

// One point's strips in front of the outdoor flame: the corner view factors at the
// N + 1 strip edges on either side of the point's foot (the height of the point above
// edge i is z − edge[i]), then each strip's view factor
// (((−F3) + F1) − F4) + F2 and flux (σ × view factor) × T⁴, as the scalar model has them.
// Gives the sum of the fluxes, which differs from the running sum by rounding only.
struct StripTask
{
    double distance = 0;
    double z = 0;
    double leftWidth = 0;
    double rightWidth = 0;
    int strips = 0;
    const double *edge = nullptr;        // 0 to N
    const double *fourthPower = nullptr; // 1 to N
    double *left = nullptr;              // 0 to N, room for N + 9
    double *right = nullptr;             // 0 to N, room for N + 9
    double *viewFactor = nullptr;        // written 1 to N
    double *flux = nullptr;              // written 1 to N
};

double OutdoorStrips(const StripTask &task);

// One point's strips for a picture of the field, in single precision: eight (AVX2) or
// sixteen (AVX-512) lanes at a time, where the strips above have four or eight. The sums
// agree with the double-precision ones to about 1e-6 of the level.
struct PictureTask
{
    double distance = 0; // the per-point constants of the kernel are taken in double
    double leftWidth = 0;
    double rightWidth = 0;
    int strips = 0;
    int shieldedStrips = 0;          // strips 1 to this one are behind the screen
    const float *heights = nullptr;  // of the point above the edges, 0 to N
    const float *radiance = nullptr; // σT⁴ of the strips, 1 to N
    float *left = nullptr;           // 0 to N, room for N + 17
    float *right = nullptr;          // 0 to N, room for N + 17
};

// The flux of all strips and of the shielded ones (W/m², before the transmission).
struct PictureSums
{
    double total = 0;
    double shielded = 0;
};

PictureSums PictureStrips(const PictureTask &task);

} // namespace detail
} // namespace engine
