#pragma once

#include <cstddef>

// The engine's corner-view-factor kernel built with each SIMD arctangent: SLEEF's (1.0 and
// 3.5 ulp), glibc's libmvec and Highway's polynomial, which the engine uses. Only the
// benchmark links the libraries; the programs carry Highway's alone.
namespace bench_atan {

enum class Library { SleefU10, SleefU35, Libmvec, Highway };
constexpr int kLibraries = 4;

using Kernel = void (*)(double distance, double width, const double *heights, double *out, std::size_t count);

struct KernelSet
{
    const char *name;           // the instruction set
    Kernel kernels[kLibraries]; // by Library
};

extern const KernelSet kAvx2;
extern const KernelSet kAvx512;

const char *libraryName(Library library);

// The widest of the two sets this processor runs, or nullptr.
const KernelSet *bestSet();

} // namespace bench_atan
