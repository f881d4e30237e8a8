// The kernel for processors with AVX-512: eight doubles per vector.

#include "kernel_impl.h"

#include <immintrin.h>
#include <sleef.h>

extern "C" __m512d _ZGVeN8v_atan(__m512d); // glibc's vector mathematics library

namespace {

struct Avx512
{
    using V = __m512d;
    static constexpr std::size_t Lanes = 8;
    static V load(const double *p) { return _mm512_loadu_pd(p); }
    static void store(double *p, V v) { _mm512_storeu_pd(p, v); }
    static V set(double x) { return _mm512_set1_pd(x); }
    static V sqrt(V v) { return _mm512_sqrt_pd(v); }
};

struct SleefU10
{
    static __m512d of(__m512d v) { return Sleef_atand8_u10avx512f(v); }
};
struct SleefU35
{
    static __m512d of(__m512d v) { return Sleef_atand8_u35avx512f(v); }
};
struct Libmvec
{
    static __m512d of(__m512d v) { return _ZGVeN8v_atan(v); }
};

} // namespace

namespace engine::detail {
extern const KernelSet kAvx512Kernels = kernelSet<Avx512, SleefU10, SleefU35, Libmvec>("AVX-512");
}
