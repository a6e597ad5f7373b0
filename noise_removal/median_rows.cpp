#include "median_rows.hpp"

#include "neighbourhood.hpp"

namespace speckwipe {

void medianRowPlain(const std::uint8_t* above, const std::uint8_t* centre,
                    const std::uint8_t* below, std::uint8_t* out, int width) {
    int buffer[9];
    for (int c = 1; c < width - 1; ++c) {
        gatherNeighbourhood(above, centre, below, c, buffer);
        sortNeighbourhood(buffer);
        out[c] = static_cast<std::uint8_t>(buffer[4]);
    }
}

namespace {

using Byte = std::uint8_t;

inline Byte lesser(Byte a, Byte b) { return a < b ? a : b; }
inline Byte greater(Byte a, Byte b) { return a < b ? b : a; }

// Median of three without branches: clamp c into [min(a,b), max(a,b)].
inline Byte median3(Byte a, Byte b, Byte c) {
    return greater(lesser(a, b), lesser(greater(a, b), c));
}

// The column trick. Sort each column of the window (top, centre, bottom
// values) into low <= mid <= high. Then the median of the nine is
//     median3(largest low, median3 of the three mids, smallest high).
// This is the identity behind Paeth's nine-element median network (Graphics
// Gems, 1990). Every step is a min or a max, so by the 0-1 principle it holds
// for all byte values once it holds for all 512 windows of 0s and 1s; the
// tests check exactly that, and random windows besides.
//
// Being all byte min and max, a plain loop over the row vectorises into
// pminub/pmaxub (or their AVX forms). Each output recomputes the three
// column sorts it needs rather than keeping them in a buffer: the loads hit
// L1, and the loop stays one pass with no scratch memory. __restrict lets
// the compiler skip run-time alias checks between the rows and out.
[[gnu::always_inline]] inline void columnMedianRow(const Byte* __restrict above,
                                                   const Byte* __restrict centre,
                                                   const Byte* __restrict below,
                                                   Byte* __restrict out, int width) {
    for (int c = 1; c < width - 1; ++c) {
        Byte low[3], mid[3], high[3];
        for (int k = 0; k < 3; ++k) {
            const Byte a = above[c - 1 + k], b = centre[c - 1 + k], d = below[c - 1 + k];
            low[k] = lesser(lesser(a, b), d);
            high[k] = greater(greater(a, b), d);
            mid[k] = median3(a, b, d);
        }
        const Byte largestLow = greater(greater(low[0], low[1]), low[2]);
        const Byte smallestHigh = lesser(lesser(high[0], high[1]), high[2]);
        out[c] = median3(largestLow, median3(mid[0], mid[1], mid[2]), smallestHigh);
    }
}

}  // namespace

void medianRowColumns(const Byte* above, const Byte* centre, const Byte* below, Byte* out,
                      int width) {
    columnMedianRow(above, centre, below, out, width);
}

#if SPECKWIPE_X86_KERNELS
// The same loop, compiled again for AVX2: 32 bytes a step instead of 16.
// GCC may inline a baseline function into a function with a wider target,
// so the body above is shared and only the ISA differs. (An AVX-512BW
// build of it measured slower than AVX2 here, so there is none.)
[[gnu::target("avx2")]] void medianRowColumnsAvx2(const Byte* above, const Byte* centre,
                                                  const Byte* below, Byte* out, int width) {
    columnMedianRow(above, centre, below, out, width);
}

bool cpuHasAvx2() { return __builtin_cpu_supports("avx2"); }
#endif

// CPU dispatch: the one place that decides which kernel runs.
MedianRowKernel fastestMedianRow() {
#if SPECKWIPE_X86_KERNELS
    if (cpuHasAvx2()) return medianRowColumnsAvx2;
#endif
    return medianRowColumns;
}

void medianFilterRows(const cv::Mat& source, cv::Mat& destination, MedianRowKernel kernel) {
    for (int r = 1; r < source.rows - 1; ++r) {
        kernel(source.ptr<Byte>(r - 1), source.ptr<Byte>(r), source.ptr<Byte>(r + 1),
               destination.ptr<Byte>(r), source.cols);
    }
}

}  // namespace speckwipe
