#pragma once

// Highway's arctangent polynomial, the one piece of Highway's internal API (hn::impl) the
// kernels use: the kernels reduce the arguments to [0, 1] themselves (without a division
// where they can), so they call the polynomial that Highway's public Atan calls after its
// own reduction. Internal APIs change without notice: this was written for Highway 1.0.3
// (Debian 12), where AtanImpl<T>::AtanPoly(d, x) approximates atan(x) for 0 <= x <= 1.
// Before allowing another version, check that polynomial and its range, and run the
// engine's tests (the kernels against the scalar arctangent).

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

static_assert(
    HWY_MAJOR == 1 && HWY_MINOR == 0 && HWY_PATCH == 3,
    "highway_atan.h calls hn::impl::AtanImpl as Highway 1.0.3 has it; check it against this version");

namespace {

// atan(x) for 0 <= x <= 1 on a Highway vector of doubles or floats.
template<class D, class V> HWY_INLINE V HighwayAtanPoly(D d, V x)
{
    namespace hn = hwy::HWY_NAMESPACE;
    return hn::impl::AtanImpl<hn::TFromD<D>>().AtanPoly(d, x);
}

} // namespace
