#pragma once

// AVX-512's vector operations for the kernels (kernel_impl.h): eight doubles or sixteen
// floats per register, and Highway's arctangent polynomial on them. Only for files
// compiled for AVX-512 (F, VL, DQ, BW): kernel_avx512.cpp and the benchmark's comparison
// of arctangents.

#include "highway_atan.h"

#include <cstddef>
#include <immintrin.h>

namespace {

struct Avx512
{
    using Scalar = double;
    using V = __m512d;
    static constexpr std::size_t Lanes = 8;
    static V load(const double *p) { return _mm512_loadu_pd(p); }
    static void store(double *p, V v) { _mm512_storeu_pd(p, v); }
    static V set(double x) { return _mm512_set1_pd(x); }
    // 1 / v^0.5 without a division or a square root: the 14-bit estimate, refined twice
    // by Newton's step y + y × (1 − v × y²) / 2, ends within a unit or two in the last place.
    static V inverseSqrt(V v)
    {
        V y = _mm512_rsqrt14_pd(v);
        for (int step = 0; step < 2; ++step) {
            const V e = _mm512_fnmadd_pd(v * y, y, set(1.0));
            y = _mm512_fmadd_pd(y * e, set(0.5), y);
        }
        return y;
    }
    // 1 / v from the 14-bit estimate and two of Newton's steps y + y × (1 − v × y).
    static V reciprocal(V v)
    {
        V y = _mm512_rcp14_pd(v);
        for (int step = 0; step < 2; ++step)
            y = _mm512_fmadd_pd(y, _mm512_fnmadd_pd(v, y, set(1.0)), y);
        return y;
    }
    static V min(V a, V b) { return _mm512_min_pd(a, b); }
    static V abs(V v) { return _mm512_abs_pd(v); }
};

// Sixteen floats: the 14-bit estimates need one Newton step each.
struct Avx512Float
{
    using V = __m512;
    using Scalar = float;
    static constexpr std::size_t Lanes = 16;
    static V load(const float *p) { return _mm512_loadu_ps(p); }
    static void store(float *p, V v) { _mm512_storeu_ps(p, v); }
    static V set(float x) { return _mm512_set1_ps(x); }
    static V inverseSqrt(V v)
    {
        const V y = _mm512_rsqrt14_ps(v);
        const V e = _mm512_fnmadd_ps(v * y, y, set(1.0f));
        return _mm512_fmadd_ps(y * e, set(0.5f), y);
    }
    static V reciprocal(V v)
    {
        const V y = _mm512_rcp14_ps(v);
        return _mm512_fmadd_ps(y, _mm512_fnmadd_ps(v, y, set(1.0f)), y);
    }
    static V min(V a, V b) { return _mm512_min_ps(a, b); }
    static V abs(V v) { return _mm512_abs_ps(v); }
};

// Highway's arctangent polynomial on a register of doubles or floats.
template<class T, class Raw> Raw nativePoly(Raw v)
{
    namespace hn = hwy::HWY_NAMESPACE;
    static_assert(HWY_TARGET == HWY_AVX3, "this file is compiled for AVX-512");
    hn::Vec512<T> x;
    x.raw = v;
    return HighwayAtanPoly(hn::Full512<T>(), x).raw;
}

struct Highway
{
    static __m512d poly(__m512d v) { return nativePoly<double>(v); }
    static __m512 poly(__m512 v) { return nativePoly<float>(v); }
};

} // namespace
