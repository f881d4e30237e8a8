#pragma once

// The vectorised corner view factor, written once for every instruction set. Each
// kernel_<set>.cpp includes this file, compiled for its own set; everything here has
// internal linkage so that no code of a wider set leaks into the baseline.

#include "kernel.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace engine::detail {

using KernelFunction = void (*)(double, double, const double *, double *, std::size_t);
using StripFunction = double (*)(const StripTask &);

using PictureFunction = PictureSums (*)(const PictureTask &);

// One instruction set's kernels, all with Highway's arctangent polynomial.
struct KernelSet
{
    const char *name;
    KernelFunction corners;
    StripFunction strips;
    PictureFunction pictures; // single precision
};

} // namespace engine::detail

namespace {

// A double as the kernel's number type: for floats, beyond their range the infinity it
// rounds to (a plain conversion out of range is undefined).
template<class S> inline S narrow(double value)
{
    if constexpr (std::is_same_v<S, float>) {
        if (value > 3.4028234663852886e38)
            return __builtin_inff();
        if (value < -3.4028234663852886e38)
            return -__builtin_inff();
    }
    return S(value);
}

// (A × s1) × atan(s1). For an edge so far away that A² overflows, the scalar kernel's
// 1 / q^0.5 is 0 and the term is 0; an inverse square root refined by Newton steps would
// give inf × 0 there, so those lanes are set to the scalar kernel's 0.
template<class Ops>
inline typename Ops::V firstTerm(typename Ops::V A, typename Ops::V q, typename Ops::V s1, typename Ops::V t1)
{
    using V = typename Ops::V;
    using S = typename Ops::Scalar;
    const V term = (A * s1) * t1;
    return q < Ops::set(__builtin_inff()) ? term : Ops::set(S(0));
}

// Ops: the vector type V of Lanes numbers of type Scalar, load, store, set, inverseSqrt;
// Atan::of, an arctangent for any argument (a library's, as the benchmark compares them;
// the product's kernels take the reduced form below).
// Along one strip edge array the distance and the width are fixed, so Bq and
// r = 1 / (1 + Bq²)^0.5 are scalars; per edge 1 / q^0.5 and two arctangents remain.
// s2 / A is A × r / A, which is r.
template<class Ops, class Atan>
inline typename Ops::V cornerViewFactorVector(typename Ops::V h, double inverseWidth, double bq2, double r)
{
    using V = typename Ops::V;
    static_assert(std::is_same_v<typename Ops::Scalar, double>, "the library arctangents take doubles");
    const V A = Ops::set(1e-9) + h * Ops::set(inverseWidth);
    const V q = A * A + Ops::set(bq2);
    const V s1 = Ops::inverseSqrt(q);
    const V s2 = A * Ops::set(r);
    const V t1 = Atan::of(s1);
    const V t2 = Atan::of(s2);
    return Ops::set(1 / 6.283184) * (firstTerm<Ops>(A, q, s1, t1) + Ops::set(r) * t2);
}

// The same with Highway's arctangent polynomial, which holds for arguments up to 1, and
// the reduction atan(s) = π/2 − atan(1 / s) done here: the reciprocal of s1 is q^0.5,
// which the kernel has already, and that of s2 needs no division where the processor
// has a reciprocal estimate. Atan::poly is the polynomial; Ops adds min, abs, reciprocal.
template<class Ops, class Atan>
inline typename Ops::V cornerViewFactorVectorReduced(typename Ops::V h, double inverseWidth, double bq2,
                                                     double r)
{
    using V = typename Ops::V;
    using S = typename Ops::Scalar;
    const V one = Ops::set(S(1));
    const V halfPi = Ops::set(S(1.57079632679489661923));
    const V A = Ops::set(S(1e-9)) + h * Ops::set(narrow<S>(inverseWidth));
    const V q = A * A + Ops::set(narrow<S>(bq2));
    const V s1 = Ops::inverseSqrt(q);
    const V p1 = Atan::poly(Ops::min(s1, q * s1));
    const V t1 = s1 <= one ? p1 : halfPi - p1;
    const V s2 = A * Ops::set(S(r));
    const V a2 = Ops::abs(s2);
    const V p2 = Atan::poly(Ops::min(a2, Ops::reciprocal(a2)));
    const V t2abs = a2 <= one ? p2 : halfPi - p2;
    const V t2 = s2 < Ops::set(S(0)) ? -t2abs : t2abs;
    return Ops::set(S(1 / 6.283184)) * (firstTerm<Ops>(A, q, s1, t1) + Ops::set(S(r)) * t2);
}

// FromEdges: the heights are z − heights[i].
template<class Ops, class Atan, bool Reduced = false, bool FromEdges = false>
void cornerViewFactorsAt(double distance, double width, double z, const typename Ops::Scalar *heights,
                         typename Ops::Scalar *out, std::size_t count)
{
    using V = typename Ops::V;
    using S = typename Ops::Scalar;
    constexpr std::size_t lanes = Ops::Lanes;
    const double guardedWidth = width + 1e-7;
    const double inverseWidth = 1 / guardedWidth;
    const double bq = 1e-9 + distance / guardedWidth;
    const double bq2 = bq * bq;
    const double r = 1 / __builtin_sqrt(1 + bq2);
    std::size_t i = 0;
    const auto kernel = [&](V h) {
        if constexpr (Reduced)
            return cornerViewFactorVectorReduced<Ops, Atan>(h, inverseWidth, bq2, r);
        else
            return cornerViewFactorVector<Ops, Atan>(h, inverseWidth, bq2, r);
    };
    const auto height = [&](const S *p) {
        if constexpr (FromEdges)
            return Ops::set(narrow<S>(z)) - Ops::load(p);
        else
            return Ops::load(p);
    };
    for (; i + lanes <= count; i += lanes)
        Ops::store(out + i, kernel(height(heights + i)));
    if (i < count) {
        S in[lanes];
        S result[lanes];
        for (std::size_t j = 0; j < lanes; ++j)
            in[j] = i + j < count ? heights[i + j] : narrow<S>(FromEdges ? z - 1.0 : 1.0);
        Ops::store(result, kernel(height(in)));
        std::memcpy(out + i, result, (count - i) * sizeof(S));
    }
}

template<class Ops, class Atan, bool Reduced = false>
void cornerViewFactors(double distance, double width, const double *heights, double *out, std::size_t count)
{
    cornerViewFactorsAt<Ops, Atan, Reduced>(distance, width, 0, heights, out, count);
}

// The strips' arithmetic is the scalar model's, operation for operation (these files
// contract nothing into multiply-adds), so only the kernels differ from it.
template<class Ops, class Atan, bool Reduced> double outdoorStrips(const engine::detail::StripTask &task)
{
    const std::size_t edges = static_cast<std::size_t>(task.strips) + 1;
    cornerViewFactorsAt<Ops, Atan, Reduced, true>(task.distance, task.leftWidth, task.z, task.edge, task.left,
                                                  edges);
    cornerViewFactorsAt<Ops, Atan, Reduced, true>(task.distance, task.rightWidth, task.z, task.edge,
                                                  task.right, edges);
    const double *__restrict left = task.left;
    const double *__restrict right = task.right;
    const double *__restrict fourth = task.fourthPower;
    double *__restrict viewFactors = task.viewFactor;
    double *__restrict fluxes = task.flux;
    for (int i = 1; i <= task.strips; ++i) {
        const double viewFactor = (((-left[i]) + left[i - 1]) - right[i]) + right[i - 1];
        viewFactors[i] = viewFactor;
        fluxes[i] = (engine::detail::kSigma * viewFactor) * fourth[i];
    }
    // The total in eight interleaved running sums, one vector's worth, added pairwise.
    double partial[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int i = 1;
    for (; i + 7 <= task.strips; i += 8) {
        for (int j = 0; j < 8; ++j)
            partial[j] = partial[j] + fluxes[i + j];
    }
    for (; i <= task.strips; ++i)
        partial[0] = partial[0] + fluxes[i];
    return ((partial[0] + partial[1]) + (partial[2] + partial[3]))
        + ((partial[4] + partial[5]) + (partial[6] + partial[7]));
}

// The picture's strips in single precision: the same corner view factors at the edges
// (whose heights above the point the task brings), then per strip the view factor times
// σT⁴, summed over the shielded strips and over the others, in one running sum per lane.
template<class Ops, class Atan>
engine::detail::PictureSums pictureStrips(const engine::detail::PictureTask &task)
{
    using V = typename Ops::V;
    constexpr int lanes = static_cast<int>(Ops::Lanes);
    const std::size_t edges = static_cast<std::size_t>(task.strips) + 1;
    cornerViewFactorsAt<Ops, Atan, true>(task.distance, task.leftWidth, 0, task.heights, task.left, edges);
    cornerViewFactorsAt<Ops, Atan, true>(task.distance, task.rightWidth, 0, task.heights, task.right, edges);
    const float *left = task.left;
    const float *right = task.right;
    const auto flux = [&](int i) {
        const V viewFactor = (Ops::load(left + i - 1) - Ops::load(left + i))
            + (Ops::load(right + i - 1) - Ops::load(right + i));
        return viewFactor * Ops::load(task.radiance + i);
    };
    // Strips from to to: whole vectors, then the rest one by one. The lanes are read from
    // the registers: a lane array on the stack would want the vector's alignment, which
    // AddressSanitizer's frames do not always give.
    const auto sum = [&](int from, int to) {
        V lanesSum = Ops::set(0.0f);
        int i = from;
        for (; i + lanes - 1 <= to; i += lanes)
            lanesSum = lanesSum + flux(i);
        double result = 0;
        for (; i <= to; ++i)
            result += ((left[i - 1] - left[i]) + (right[i - 1] - right[i])) * task.radiance[i];
        for (int j = 0; j < lanes; ++j)
            result += lanesSum[j];
        return result;
    };
    const int shieldEnd = std::min(task.shieldedStrips, task.strips);
    const double shielded = sum(1, shieldEnd);
    return {shielded + sum(shieldEnd + 1, task.strips), shielded};
}

// Highway::poly takes vectors of doubles (for Ops) and of floats (for FloatOps).
template<class Ops, class Highway, class FloatOps>
constexpr engine::detail::KernelSet kernelSet(const char *name)
{
    return {name, &cornerViewFactors<Ops, Highway, true>, &outdoorStrips<Ops, Highway, true>,
            &pictureStrips<FloatOps, Highway>};
}

} // namespace
