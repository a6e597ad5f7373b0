#include "edge_dispatch.hpp"

namespace rimtrace {

namespace {

bool always() { return true; }
#if KERNELS_X86
bool cpuHasAvx2() { return __builtin_cpu_supports("avx2"); }
#endif

}  // namespace

// The build says which instruction sets the target has (KERNELS_X86 or
// KERNELS_NEON, from CMakeLists.txt): the one place that lists them. SSE2
// is part of x86-64 itself, and NEON of arm64, so only AVX2 needs asking.
const std::vector<NamedEdgeKernel>& builtEdgeKernels() {
    static const std::vector<NamedEdgeKernel> kernels = {
        {"portable", edgePortable, always},
#if KERNELS_X86
        {"sse2", edgeSse2, always},
        {"avx2", edgeAvx2, cpuHasAvx2},
#elif KERNELS_NEON
        {"neon", edgeNeon, always},
#endif
    };
    return kernels;
}

// CPU dispatch: the one place that decides which kernel runs.
EdgeKernel fastestEdge() {
    EdgeKernel fastest = edgePortable;
    for (const NamedEdgeKernel& built : builtEdgeKernels()) {
        if (built.cpuRunsIt()) fastest = built.kernel;
    }
    return fastest;
}

}  // namespace rimtrace
