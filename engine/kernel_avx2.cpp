// The kernel for processors with AVX2 and FMA: four doubles per vector.

#include "kernel_avx2.h"
#include "kernel_impl.h"

namespace engine::detail {
extern const KernelSet kAvx2Kernels = kernelSet<Avx2, Highway, Avx2Float>("AVX2");
}
