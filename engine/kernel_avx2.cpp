// The kernel for processors with AVX2 and FMA: four doubles per vector.

#include "kernel_impl.h"

#include <immintrin.h>
#include <sleef.h>

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

extern "C" __m256d _ZGVdN4v_atan(__m256d); // glibc's vector mathematics library

namespace {

struct Avx2
{
    using V = __m256d;
    static constexpr std::size_t Lanes = 4;
    static V load(const double *p) { return _mm256_loadu_pd(p); }
    static void store(double *p, V v) { _mm256_storeu_pd(p, v); }
    static V set(double x) { return _mm256_set1_pd(x); }
    static V inverseSqrt(V v) { return set(1.0) / _mm256_sqrt_pd(v); }
    static V reciprocal(V v) { return set(1.0) / v; }
    static V min(V a, V b) { return _mm256_min_pd(a, b); }
    static V abs(V v) { return _mm256_andnot_pd(set(-0.0), v); }
};

struct SleefU10
{
    static __m256d of(__m256d v) { return Sleef_atand4_u10avx2(v); }
};
struct SleefU35
{
    static __m256d of(__m256d v) { return Sleef_atand4_u35avx2(v); }
};
struct Libmvec
{
    static __m256d of(__m256d v) { return _ZGVdN4v_atan(v); }
};

struct Highway
{
    static __m256d poly(__m256d v)
    {
        namespace hn = hwy::HWY_NAMESPACE;
        static_assert(HWY_TARGET == HWY_AVX2, "this file is compiled for AVX2");
        hn::Vec256<double> x;
        x.raw = v;
        return hn::impl::AtanImpl<double>().AtanPoly(hn::Full256<double>(), x).raw;
    }
};

} // namespace

namespace engine::detail {
extern const KernelSet kAvx2Kernels = kernelSet<Avx2, SleefU10, SleefU35, Libmvec, Highway>("AVX2");
}
