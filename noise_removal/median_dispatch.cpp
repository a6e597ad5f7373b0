#include "median_dispatch.hpp"

namespace speckwipe {

namespace {

bool always() { return true; }
#if KERNELS_X86
bool cpuHasAvx2() { return __builtin_cpu_supports("avx2"); }
#endif

}  // namespace

// The build says which instruction sets the target has (KERNELS_X86 or
// KERNELS_NEON, from CMakeLists.txt): the one place that lists them. SSE2
// is part of x86-64 itself, and NEON of arm64, so only AVX2 needs asking.
const std::vector<NamedMedianKernel>& builtMedianKernels() {
    static const std::vector<NamedMedianKernel> kernels = {
        {"portable", medianPortable, always},
#if KERNELS_X86
        {"sse2", medianSse2, always},
        {"avx2", medianAvx2, cpuHasAvx2},
#elif KERNELS_NEON
        {"neon", medianNeon, always},
#endif
    };
    return kernels;
}

// CPU dispatch: the one place that decides which kernel runs.
MedianKernel fastestMedian() {
    MedianKernel fastest = medianPortable;
    for (const NamedMedianKernel& built : builtMedianKernels()) {
        if (built.cpuRunsIt()) fastest = built.kernel;
    }
    return fastest;
}

}  // namespace speckwipe
