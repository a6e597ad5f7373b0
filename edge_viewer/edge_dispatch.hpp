#pragma once
// The edge kernels built for this target, and the one place that picks the
// one that runs. Apart from edge_kernels.hpp, which the SIMD files include:
// they are compiled for their instruction set, and no library code may be
// instantiated there.

#include <vector>

#include "edge_kernels.hpp"

namespace rimtrace {

// A kernel built into the program, by the name of what it runs on.
struct NamedEdgeKernel {
    const char* name;    // "portable", "sse2", "avx2", "neon"
    EdgeKernel kernel;
    bool (*cpuRunsIt)();  // asked of the CPU the program runs on
};

// Every kernel built for this target, portable first, each faster than the
// one before: the list the program, the tests and the benchmark take their
// kernels from.
const std::vector<NamedEdgeKernel>& builtEdgeKernels();

// The fastest kernel this CPU runs: the last of the list it runs.
EdgeKernel fastestEdge();

}  // namespace rimtrace
