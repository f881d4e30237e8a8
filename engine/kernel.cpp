#include "kernel.h"

#include "kernel_impl.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace engine {
namespace detail {
namespace {

// The value of WARMTEGLOED_KERNEL that caps the choice (for comparing sets on one
// machine); none when unset or empty. Any other value than the known ones is said once.
enum class KernelCap { None, Baseline, Avx2 };

KernelCap kernelCap()
{
    const char *cap = std::getenv("WARMTEGLOED_KERNEL");
    if (!cap || !*cap)
        return KernelCap::None;
    if (std::strcmp(cap, "sse2") == 0)
        return KernelCap::Baseline;
    if (std::strcmp(cap, "avx2") == 0)
        return KernelCap::Avx2;
    static const bool said = [cap] {
        char shown[64] = {};
        for (std::size_t i = 0; i + 1 < sizeof shown && cap[i]; ++i)
            shown[i] = cap[i] >= ' ' && cap[i] <= '~' ? cap[i] : '?';
        std::fprintf(stderr, "WARMTEGLOED_KERNEL=%s is onbekend en wordt genegeerd (bekend: sse2, avx2).\n",
                     shown);
        return true;
    }();
    static_cast<void>(said);
    return KernelCap::None;
}

// The kernel sets this build carries and how the best of them is chosen. On x86-64 three
// sets, chosen at run time. Another target (the WebAssembly build) adds its own branch
// here with its baselineKernels() and bestKernels().
#if defined(__x86_64__)

} // namespace

extern const KernelSet kSse2Kernels;
extern const KernelSet kAvx2Kernels;
extern const KernelSet kAvx512Kernels;

namespace {

const KernelSet *baselineKernels()
{
    return &kSse2Kernels;
}

// The widest set that the processor and the operating system both support, capped by
// WARMTEGLOED_KERNEL.
const KernelSet *bestKernels()
{
    __builtin_cpu_init();
    const KernelCap cap = kernelCap();
    if (cap == KernelCap::Baseline)
        return baselineKernels();
    // What the two wider files are compiled for (Highway asks for these with AVX2 and
    // AVX-512); every processor with AVX2 has BMI2 and FMA too.
    const bool avx2 =
        __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma") && __builtin_cpu_supports("bmi2");
    const bool avx512 = avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")
        && __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512bw");
    if (cap != KernelCap::Avx2 && avx512)
        return &kAvx512Kernels;
    if (avx2)
        return &kAvx2Kernels;
    return baselineKernels();
}

#elif defined(__EMSCRIPTEN__)

} // namespace

// WebAssembly (the web edition): one set, 128-bit SIMD, chosen when the program is built.
extern const KernelSet kWasmKernels;

namespace {

const KernelSet *baselineKernels()
{
    return &kWasmKernels;
}

const KernelSet *bestKernels()
{
    static_cast<void>(kernelCap());
    return baselineKernels();
}

#else
#error "No vectorised kernels for this target: add its branch to the kernel dispatch."
#endif

std::atomic<const KernelSet *> &chosenKernels()
{
    static std::atomic<const KernelSet *> chosen {bestKernels()};
    return chosen;
}

const KernelSet &kernels()
{
    return *chosenKernels().load(std::memory_order_relaxed);
}

} // namespace

double OutdoorStrips(const StripTask &task)
{
    return kernels().strips(task);
}

PictureSums PictureStrips(const PictureTask &task)
{
    return kernels().pictures(task);
}

} // namespace detail

// Highway's arctangent is a header-only polynomial that the compiler inlines into the
// kernel, so the kernel can hand it arguments up to 1 and do the reduction itself without
// a division; the library arctangents (SLEEF, glibc's libmvec) are calls that reduce and
// divide inside. bench/ compares them.
void CornerViewFactors(double distance, double width, const double *heights, double *out, std::size_t count)
{
    detail::kernels().corners(distance, width, heights, out, count);
}

const char *KernelTargetName()
{
    return detail::kernels().name;
}

void ForceBaselineKernel(bool baseline)
{
    detail::chosenKernels().store(baseline ? detail::baselineKernels() : detail::bestKernels());
}

} // namespace engine
