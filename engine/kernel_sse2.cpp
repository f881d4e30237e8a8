// The kernel for any x86-64 processor: two doubles per SSE2 vector.

#include "kernel_impl.h"

#include <emmintrin.h>
#include <sleef.h>

extern "C" __m128d _ZGVbN2v_atan(__m128d); // glibc's vector mathematics library

namespace {

struct Sse2
{
    using V = __m128d;
    static constexpr std::size_t Lanes = 2;
    static V load(const double *p) { return _mm_loadu_pd(p); }
    static void store(double *p, V v) { _mm_storeu_pd(p, v); }
    static V set(double x) { return _mm_set1_pd(x); }
    static V sqrt(V v) { return _mm_sqrt_pd(v); }
};

struct SleefU10
{
    static __m128d of(__m128d v) { return Sleef_atand2_u10sse2(v); }
};
struct SleefU35
{
    static __m128d of(__m128d v) { return Sleef_atand2_u35sse2(v); }
};
struct Libmvec
{
    static __m128d of(__m128d v) { return _ZGVbN2v_atan(v); }
};

} // namespace

namespace engine::detail {
extern const KernelSet kSse2Kernels = kernelSet<Sse2, SleefU10, SleefU35, Libmvec>("SSE2");
}
