#pragma once

// SSE2's vector operations for the kernels (kernel_impl.h): two doubles or four floats per
// register, and Highway's arctangent polynomial on them. Only for files compiled for
// SSE2: kernel_sse2.cpp and the benchmark's comparison of arctangents.

#include "highway_atan.h"

#include <cstddef>
#include <cstring>
#include <emmintrin.h>

namespace {

struct Sse2
{
    using Scalar = double;
    using V = __m128d;
    static constexpr std::size_t Lanes = 2;
    static V load(const double *p) { return _mm_loadu_pd(p); }
    static void store(double *p, V v) { _mm_storeu_pd(p, v); }
    static V set(double x) { return _mm_set1_pd(x); }
    static V inverseSqrt(V v) { return set(1.0) / _mm_sqrt_pd(v); }
    static V reciprocal(V v) { return set(1.0) / v; }
    static V min(V a, V b) { return _mm_min_pd(a, b); }
    static V abs(V v) { return _mm_andnot_pd(set(-0.0), v); }
};

struct Sse2Float
{
    using V = __m128;
    using Scalar = float;
    static constexpr std::size_t Lanes = 4;
    static V load(const float *p) { return _mm_loadu_ps(p); }
    static void store(float *p, V v) { _mm_storeu_ps(p, v); }
    static V set(float x) { return _mm_set1_ps(x); }
    static V inverseSqrt(V v) { return set(1.0f) / _mm_sqrt_ps(v); }
    static V reciprocal(V v) { return set(1.0f) / v; }
    static V min(V a, V b) { return _mm_min_ps(a, b); }
    static V abs(V v) { return _mm_andnot_ps(set(-0.0f), v); }
};

// Highway's portable vectors, as wide as this set allows it: the lanes of one SSE2
// register, doubles or floats, through memory a portable vector at a time.
template<class T, class Raw> Raw portablePoly(Raw v)
{
    namespace hn = hwy::HWY_NAMESPACE;
    const hn::ScalableTag<T> d;
    constexpr std::size_t count = sizeof(Raw) / sizeof(T);
    alignas(16) T lanes[count];
    std::memcpy(lanes, &v, sizeof v);
    for (std::size_t i = 0; i < count; i += hn::Lanes(d))
        hn::StoreU(HighwayAtanPoly(d, hn::LoadU(d, lanes + i)), d, lanes + i);
    std::memcpy(&v, lanes, sizeof v);
    return v;
}

struct Highway
{
    static __m128d poly(__m128d v) { return portablePoly<double>(v); }
    static __m128 poly(__m128 v) { return portablePoly<float>(v); }
};

} // namespace
