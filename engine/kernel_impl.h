#pragma once

// The vectorised corner view factor, written once for every instruction set. Each
// kernel_<set>.cpp includes this file, compiled for its own set; everything here has
// internal linkage so that no code of a wider set leaks into the baseline.

#include <cstddef>
#include <cstring>

namespace engine::detail {

using KernelFunction = void (*)(double, double, const double *, double *, std::size_t);

// One instruction set's kernels, one per arctangent library.
struct KernelSet
{
    const char *name;
    KernelFunction sleefU10;
    KernelFunction sleefU35;
    KernelFunction libmvec;
};

} // namespace engine::detail

namespace {

// Ops: the vector type V, its Lanes, load, store, set, sqrt and Atan::of.
// Along one strip edge array the distance and the width are fixed, so Bq and
// 1 / (1 + Bq²)^0.5 are scalars; per edge one square root, one division and two
// arctangents remain. s2 / A is A × r / A, which is r.
template<class Ops, class Atan>
inline typename Ops::V cornerViewFactorVector(typename Ops::V h, double inverseWidth, double bq2, double r)
{
    using V = typename Ops::V;
    const V A = Ops::set(1e-9) + h * Ops::set(inverseWidth);
    const V q = A * A + Ops::set(bq2);
    const V s1 = Ops::set(1.0) / Ops::sqrt(q);
    const V s2 = A * Ops::set(r);
    const V t1 = Atan::of(s1);
    const V t2 = Atan::of(s2);
    return Ops::set(1 / 6.283184) * ((A * s1) * t1 + Ops::set(r) * t2);
}

template<class Ops, class Atan>
void cornerViewFactors(double distance, double width, const double *heights, double *out, std::size_t count)
{
    using V = typename Ops::V;
    constexpr std::size_t lanes = Ops::Lanes;
    const double guardedWidth = width + 1e-7;
    const double inverseWidth = 1 / guardedWidth;
    const double bq = 1e-9 + distance / guardedWidth;
    const double bq2 = bq * bq;
    const double r = 1 / __builtin_sqrt(1 + bq2);
    std::size_t i = 0;
    for (; i + lanes <= count; i += lanes)
        Ops::store(out + i, cornerViewFactorVector<Ops, Atan>(Ops::load(heights + i), inverseWidth, bq2, r));
    if (i < count) {
        double in[lanes];
        double result[lanes];
        for (std::size_t j = 0; j < lanes; ++j)
            in[j] = i + j < count ? heights[i + j] : 1.0;
        Ops::store(result, cornerViewFactorVector<Ops, Atan>(Ops::load(in), inverseWidth, bq2, r));
        std::memcpy(out + i, result, (count - i) * sizeof(double));
    }
}

template<class Ops, class SleefU10, class SleefU35, class Libmvec>
constexpr engine::detail::KernelSet kernelSet(const char *name)
{
    return {name, &cornerViewFactors<Ops, SleefU10>, &cornerViewFactors<Ops, SleefU35>,
            &cornerViewFactors<Ops, Libmvec>};
}

} // namespace
