#pragma once
// What the CPU can run, asked of the CPU itself with cpuid (and of the
// system with xgetbv), apart from the programs' own dispatch: a test that
// asked the same function as the dispatch would miss a fault in it.

#include <string>

#if defined(__x86_64__) && defined(__GNUC__)
#include <cpuid.h>

inline bool cpuReallyHasAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    unsigned low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    if ((low & 6) != 6) return false;  // the system saves SSE and AVX registers
    return __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_AVX2);
}
#else
inline bool cpuReallyHasAvx2() { return false; }
#endif

// Whether this CPU runs the kernel built for the named instruction set.
// The baselines of x86-64 (SSE2) and arm64 (NEON) and the portable kernel
// run wherever they were built; an instruction set this does not know
// counts as not running, so that a new one needs its own answer here.
inline bool cpuReallyRuns(const std::string& kernelName) {
    if (kernelName == "portable" || kernelName == "sse2" || kernelName == "neon") return true;
    if (kernelName == "avx2") return cpuReallyHasAvx2();
    return false;
}
