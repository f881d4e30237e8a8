// The kernel for any x86-64 processor: two doubles per SSE2 vector.

#include "kernel_sse2.h"
#include "kernel_impl.h"

namespace engine::detail {
extern const KernelSet kSse2Kernels = kernelSet<Sse2, Highway, Sse2Float>("SSE2");
}
