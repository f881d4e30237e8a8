// The arctangent comparison compiled for AVX2 and FMA: four doubles per vector.

#include "bench_atan.h"
#include "kernel_avx2.h"
#include "kernel_impl.h"

#include <sleef.h>

extern "C" __m256d _ZGVdN4v_atan(__m256d); // glibc's vector mathematics library

namespace {

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

} // namespace

const bench_atan::KernelSet bench_atan::kAvx2 = {
    "AVX2",
    {&cornerViewFactors<Avx2, SleefU10>, &cornerViewFactors<Avx2, SleefU35>,
     &cornerViewFactors<Avx2, Libmvec>, &cornerViewFactors<Avx2, Highway, true>}};
