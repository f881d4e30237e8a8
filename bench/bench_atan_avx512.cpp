// The arctangent comparison compiled for AVX-512: eight doubles per vector.

#include "bench_atan.h"
#include "kernel_avx512.h"
#include "kernel_impl.h"

#include <sleef.h>

extern "C" __m512d _ZGVeN8v_atan(__m512d); // glibc's vector mathematics library

namespace {

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

const bench_atan::KernelSet bench_atan::kAvx512 = {
    "AVX-512",
    {&cornerViewFactors<Avx512, SleefU10>, &cornerViewFactors<Avx512, SleefU35>,
     &cornerViewFactors<Avx512, Libmvec>, &cornerViewFactors<Avx512, Highway, true>}};
