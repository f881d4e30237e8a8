#include "kernel.h"

#include "kernel_impl.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace engine {
namespace detail {

#if defined(__EMSCRIPTEN__)
// WebAssembly (the web edition): one set, 128-bit SIMD, chosen when the program is built.
extern const KernelSet kWasmKernels;
#else
extern const KernelSet kSse2Kernels;
extern const KernelSet kAvx2Kernels;
extern const KernelSet kAvx512Kernels;
#endif

namespace {

#if defined(__EMSCRIPTEN__)
const KernelSet *bestKernels()
{
    return &kWasmKernels;
}

const KernelSet *baselineKernels()
{
    return &kWasmKernels;
}
#else

// The widest set that the processor and the operating system both support, capped by
// WARMTEGLOED_KERNEL (for comparing sets on one machine).
const KernelSet *bestKernels()
{
    __builtin_cpu_init();
    const char *cap = std::getenv("WARMTEGLOED_KERNEL");
    const bool baselineOnly = cap && std::strcmp(cap, "sse2") == 0;
    const bool avx2Only = cap && std::strcmp(cap, "avx2") == 0;
    if (baselineOnly)
        return &kSse2Kernels;
    // What the two wider files are compiled for (Highway asks for these with AVX2 and
    // AVX-512); every processor with AVX2 has BMI2 and FMA too.
    const bool avx2 =
        __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi2");
    const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")
        && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
    if (!avx2Only && avx512)
        return &kAvx512Kernels;
    if (avx2)
        return &kAvx2Kernels;
    return &kSse2Kernels;
}

const KernelSet *baselineKernels()
{
    return &kSse2Kernels;
}
#endif

std::atomic<const KernelSet *> &chosenKernels()
{
    static std::atomic<const KernelSet *> chosen {bestKernels()};
    return chosen;
}

KernelFunction kernelOf(const KernelSet &set, AtanLibrary library)
{
    switch (library) {
    case AtanLibrary::SleefU10:
        return set.sleefU10;
    case AtanLibrary::SleefU35:
        return set.sleefU35;
    case AtanLibrary::Libmvec:
        return set.libmvec;
    case AtanLibrary::Highway:
        return set.highway;
    }
    return set.libmvec;
}

} // namespace

const char *AtanLibraryName(AtanLibrary library)
{
    switch (library) {
    case AtanLibrary::SleefU10:
        return "SLEEF u10";
    case AtanLibrary::SleefU35:
        return "SLEEF u35";
    case AtanLibrary::Libmvec:
        return "glibc libmvec";
    case AtanLibrary::Highway:
        return "Highway";
    }
    return "";
}

// Highway: its arctangent is a header-only polynomial that the compiler inlines into the
// kernel, so the kernel can hand it arguments up to 1 and do the reduction itself without
// a division; SLEEF and libmvec are calls that reduce (and divide) inside. With AVX-512
// that makes the kernels about a quarter faster than either, at the same agreement with
// the scalar form (below 1e-15 relative). On the baseline it runs as plain scalar code,
// which works on every x86-64 (libmvec's two-lane arctangent needs SSE4.1 for speed).
AtanLibrary ChosenAtanLibrary()
{
    return AtanLibrary::Highway;
}

void CornerViewFactorsWith(AtanLibrary library, double distance, double width, const double *heights,
                           double *out, std::size_t count)
{
    kernelOf(*chosenKernels().load(std::memory_order_relaxed), library)(distance, width, heights, out, count);
}

double OutdoorStrips(const StripTask &task)
{
    return chosenKernels().load(std::memory_order_relaxed)->strips(task);
}

PictureSums PictureStrips(const PictureTask &task)
{
    return chosenKernels().load(std::memory_order_relaxed)->pictures(task);
}

} // namespace detail

void CornerViewFactors(double distance, double width, const double *heights, double *out, std::size_t count)
{
    detail::CornerViewFactorsWith(detail::ChosenAtanLibrary(), distance, width, heights, out, count);
}

const char *KernelTargetName()
{
    return detail::chosenKernels().load()->name;
}

void ForceBaselineKernel(bool baseline)
{
    detail::chosenKernels().store(baseline ? detail::baselineKernels() : detail::bestKernels());
}

} // namespace engine
