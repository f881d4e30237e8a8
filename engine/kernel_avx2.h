#pragma once

// AVX2's vector operations for the kernels (kernel_impl.h): four doubles or eight floats
// per register, with FMA, and Highway's arctangent polynomial on them. Only for files
// compiled for AVX2 and FMA: kernel_avx2.cpp and the benchmark's comparison of arctangents.

#include "highway_atan.h"

#include <cstddef>
#include <immintrin.h>

namespace {

struct Avx2
{
    using Scalar = double;
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

// Eight floats: the estimates are good to 12 bits, one Newton step to nearly all 24.
struct Avx2Float
{
    using V = __m256;
    using Scalar = float;
    static constexpr std::size_t Lanes = 8;
    static V load(const float *p) { return _mm256_loadu_ps(p); }
    static void store(float *p, V v) { _mm256_storeu_ps(p, v); }
    static V set(float x) { return _mm256_set1_ps(x); }
    static V inverseSqrt(V v)
    {
        const V y = _mm256_rsqrt_ps(v);
        const V e = _mm256_fnmadd_ps(v * y, y, set(1.0f));
        return _mm256_fmadd_ps(y * e, set(0.5f), y);
    }
    static V reciprocal(V v)
    {
        const V y = _mm256_rcp_ps(v);
        return _mm256_fmadd_ps(y, _mm256_fnmadd_ps(v, y, set(1.0f)), y);
    }
    static V min(V a, V b) { return _mm256_min_ps(a, b); }
    static V abs(V v) { return _mm256_andnot_ps(set(-0.0f), v); }
};

// Highway's arctangent polynomial on a register of doubles or floats.
template<class T, class Raw> Raw nativePoly(Raw v)
{
    namespace hn = hwy::HWY_NAMESPACE;
    static_assert(HWY_TARGET == HWY_AVX2, "this file is compiled for AVX2");
    hn::Vec256<T> x;
    x.raw = v;
    return HighwayAtanPoly(hn::Full256<T>(), x).raw;
}

struct Highway
{
    static __m256d poly(__m256d v) { return nativePoly<double>(v); }
    static __m256 poly(__m256 v) { return nativePoly<float>(v); }
};

} // namespace
