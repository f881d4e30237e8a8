// The kernel for processors with AVX-512: eight doubles per vector.

#include "kernel_avx512.h"
#include "kernel_impl.h"

namespace engine::detail {
extern const KernelSet kAvx512Kernels = kernelSet<Avx512, Highway, Avx512Float>("AVX-512");
}
