// The kernel for WebAssembly: two doubles (four floats) per 128-bit SIMD vector. The
// arctangent is Highway's polynomial, compiled for its portable 128-bit target
// (HWY_COMPILE_ONLY_EMU128: Highway 1.0's own WebAssembly target has no doubles), so the
// figures are those of the x86 kernels to an ulp. There are no SLEEF or libmvec builds
// for WebAssembly: every library slot of the set holds Highway's kernel.

#include "kernel_impl.h"

#include <cstring>
#include <type_traits>

// The engine fences Highway's internal arctangent behind highway_atan.h, with one kernel
// per instruction set in its KernelSet; before that, the kernels called it directly and
// the set held one kernel per arctangent library.
#if __has_include("highway_atan.h")
#include "highway_atan.h"
#define WARMTEGLOED_HIGHWAY_ATAN_HEADER 1
#else
#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>
#endif

#ifndef __wasm_simd128__
#error "the WebAssembly kernel is built with -msimd128"
#endif

namespace {

using F64x2 = double __attribute__((vector_size(16)));
using F32x4 = float __attribute__((vector_size(16)));

#define WASM_INLINE inline __attribute__((always_inline))

// A register with x in every lane (a vector plus a number adds it to every lane).
template<class V, class S> WASM_INLINE V splat(S x)
{
    return V {} + x;
}

struct Wasm
{
    using Scalar = double;
    using V = F64x2;
    static constexpr std::size_t Lanes = 2;
    static WASM_INLINE V load(const double *p)
    {
        V v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static WASM_INLINE void store(double *p, V v) { std::memcpy(p, &v, sizeof v); }
    static WASM_INLINE V set(double x) { return splat<V>(x); }
    static WASM_INLINE V inverseSqrt(V v) { return set(1.0) / __builtin_wasm_sqrt_f64x2(v); }
    static WASM_INLINE V reciprocal(V v) { return set(1.0) / v; }
    // As SSE2's minpd: the first operand where it is smaller, else the second.
    static WASM_INLINE V min(V a, V b) { return a < b ? a : b; }
    static WASM_INLINE V abs(V v) { return __builtin_wasm_abs_f64x2(v); }
};

struct WasmFloat
{
    using Scalar = float;
    using V = F32x4;
    static constexpr std::size_t Lanes = 4;
    static WASM_INLINE V load(const float *p)
    {
        V v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    static WASM_INLINE void store(float *p, V v) { std::memcpy(p, &v, sizeof v); }
    static WASM_INLINE V set(float x) { return splat<V>(x); }
    static WASM_INLINE V inverseSqrt(V v) { return set(1.0f) / __builtin_wasm_sqrt_f32x4(v); }
    static WASM_INLINE V reciprocal(V v) { return set(1.0f) / v; }
    static WASM_INLINE V min(V a, V b) { return a < b ? a : b; }
    static WASM_INLINE V abs(V v) { return __builtin_wasm_abs_f32x4(v); }
};

// Highway's arctangent polynomial, evaluated on these registers: AtanImpl's AtanPoly is a
// template over the tag and the vector type, and finds Set, Mul and MulAdd for the
// wrappers below by argument-dependent lookup. Multiply and add stay two operations
// (WebAssembly has no fused multiply-add), as on Highway's portable and SSE2 targets.
namespace lanes {

template<class Raw> struct Vector
{
    Raw raw;
};

template<class Raw> struct Tag
{
    using T = std::remove_reference_t<decltype(Raw {}[0])>; // Highway's TFromD
};

template<class Raw, class S> WASM_INLINE Vector<Raw> Set(Tag<Raw>, S x)
{
    return {splat<Raw>(static_cast<typename Tag<Raw>::T>(x))};
}

template<class Raw> WASM_INLINE Vector<Raw> Mul(Vector<Raw> a, Vector<Raw> b)
{
    return {a.raw * b.raw};
}

template<class Raw> WASM_INLINE Vector<Raw> MulAdd(Vector<Raw> mul, Vector<Raw> x, Vector<Raw> add)
{
    return {mul.raw * x.raw + add.raw};
}

} // namespace lanes

template<class Raw> WASM_INLINE Raw highwayPoly(Raw v)
{
#ifdef WARMTEGLOED_HIGHWAY_ATAN_HEADER
    return HighwayAtanPoly(lanes::Tag<Raw> {}, lanes::Vector<Raw> {v}).raw;
#else
    namespace hn = hwy::HWY_NAMESPACE;
    using T = typename lanes::Tag<Raw>::T;
    return hn::impl::AtanImpl<T>().AtanPoly(lanes::Tag<Raw> {}, lanes::Vector<Raw> {v}).raw;
#endif
}

struct Highway
{
    static WASM_INLINE F64x2 poly(F64x2 v) { return highwayPoly(v); }
    static WASM_INLINE F32x4 poly(F32x4 v) { return highwayPoly(v); }
};

// The strips from the foot of the flame up that burn at the same temperature: every strip
// below the top of the pile (at least strip 1).
int uniformStrips(const engine::detail::PictureTask &task)
{
    int last = 1;
    while (last < task.strips && task.radiance[last + 1] == task.radiance[1])
        ++last;
    return last;
}

// The picture's strips, for a third less work than pictureStrips: over strips that burn at
// one temperature the sum of the strips' view factors is the difference of the view
// factors at the two outer edges (neighbouring strips share an edge), so of those strips
// only the edges at either end and at the screen's top are computed; above the pile, where
// the temperature falls, every edge. The sums are pictureStrips' but for rounding: the
// levels stay within 5e-7 of the picture's highest level of those of the desktop's SSE2
// kernel, closer than its AVX-512 kernel's.
engine::detail::PictureSums wasmPictureStrips(const engine::detail::PictureTask &task)
{
    const int strips = task.strips;
    const int uniform = uniformStrips(task);
    const int shieldEnd = std::min(task.shieldedStrips, strips);
    const int screenEdge = std::min(shieldEnd, uniform);
    const float ends[4] = {task.heights[0], task.heights[screenEdge], 1.0f, 1.0f};
    for (const auto &[width, out] :
         {std::pair {task.leftWidth, task.left}, std::pair {task.rightWidth, task.right}}) {
        cornerViewFactorsAt<WasmFloat, Highway, true>(task.distance, width, 0, task.heights + uniform,
                                                      out + uniform,
                                                      static_cast<std::size_t>(strips - uniform + 1));
        float atEnds[4];
        cornerViewFactorsAt<WasmFloat, Highway, true>(task.distance, width, 0, ends, atEnds, 4);
        out[0] = atEnds[0];
        out[screenEdge] = atEnds[1];
    }
    const float *left = task.left;
    const float *right = task.right;
    const float radiance = task.radiance[1];
    const auto between = [&](int from, int to) {
        return static_cast<double>(((left[from] - left[to]) + (right[from] - right[to])) * radiance);
    };
    const auto sum = [&](int from, int to) {
        F32x4 lanesSum = WasmFloat::set(0.0f);
        int i = from;
        for (; i + 3 <= to; i += 4) {
            const F32x4 viewFactor = (WasmFloat::load(left + i - 1) - WasmFloat::load(left + i))
                + (WasmFloat::load(right + i - 1) - WasmFloat::load(right + i));
            lanesSum = lanesSum + viewFactor * WasmFloat::load(task.radiance + i);
        }
        double result = 0;
        for (; i <= to; ++i)
            result += ((left[i - 1] - left[i]) + (right[i - 1] - right[i])) * task.radiance[i];
        for (int j = 0; j < 4; ++j)
            result += lanesSum[j];
        return result;
    };
    double shielded = screenEdge > 0 ? between(0, screenEdge) : 0.0;
    double others = screenEdge < uniform ? between(screenEdge, uniform) : 0.0;
    if (shieldEnd > uniform) {
        shielded += sum(uniform + 1, shieldEnd);
        others += sum(shieldEnd + 1, strips);
    } else {
        others += sum(uniform + 1, strips);
    }
    return {shielded + others, shielded};
}

} // namespace

namespace engine::detail {
#ifdef WARMTEGLOED_HIGHWAY_ATAN_HEADER
extern const KernelSet kWasmKernels = {"WebAssembly SIMD", &cornerViewFactors<Wasm, Highway, true>,
                                       &outdoorStrips<Wasm, Highway, true>, &wasmPictureStrips};
#else
extern const KernelSet kWasmKernels = {"WebAssembly SIMD",
                                       &cornerViewFactors<Wasm, Highway, true>,
                                       &cornerViewFactors<Wasm, Highway, true>,
                                       &cornerViewFactors<Wasm, Highway, true>,
                                       &cornerViewFactors<Wasm, Highway, true>,
                                       &outdoorStrips<Wasm, Highway, true>,
                                       &pictureStrips<WasmFloat, Highway>};
#endif
} // namespace engine::detail
