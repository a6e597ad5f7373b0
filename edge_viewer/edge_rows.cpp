#include "edge_rows.hpp"

#include <cstring>

#include "edge_map.hpp"

namespace rimtrace {

namespace {

using Byte = std::uint8_t;

constexpr Byte kEdge = 255;
constexpr Byte kBackground = 0;

inline Byte lesser(Byte a, Byte b) { return a < b ? a : b; }
inline Byte greater(Byte a, Byte b) { return a < b ? b : a; }

// The column trick. The range of the 3x3 window is the largest of the three
// column maxima minus the smallest of the three column minima, so each
// column's max and min come first (two min/max steps each), then three
// across. All byte min/max, so GCC vectorises the loop into pmaxub/pminub;
// the test "range >= threshold" becomes a compare of bytes. Each output
// recomputes its three columns instead of keeping them in a buffer: the
// loads hit L1 and the loop needs no scratch memory. __restrict spares the
// compiler run-time alias checks between the rows and out.
[[gnu::always_inline]] inline void columnEdgeRow(const Byte* __restrict above,
                                                 const Byte* __restrict centre,
                                                 const Byte* __restrict below,
                                                 Byte* __restrict out, int width, Byte threshold) {
    for (int c = 1; c < width - 1; ++c) {
        Byte high[3], low[3];
        for (int k = 0; k < 3; ++k) {
            const Byte a = above[c - 1 + k], b = centre[c - 1 + k], d = below[c - 1 + k];
            high[k] = greater(greater(a, b), d);
            low[k] = lesser(lesser(a, b), d);
        }
        const Byte range = static_cast<Byte>(greater(greater(high[0], high[1]), high[2]) -
                                             lesser(lesser(low[0], low[1]), low[2]));
        out[c] = range >= threshold ? kEdge : kBackground;
    }
}

// Thresholds outside 1..255 don't depend on the pixels: at 0 or below every
// range passes, above 255 none does. Handling them here keeps the byte
// compare in the loop exact. Returns true when it has written the row.
inline bool fillIfThresholdDecides(Byte* out, int width, int threshold) {
    if (threshold >= 1 && threshold <= 255) return false;
    std::memset(out + 1, threshold <= 0 ? kEdge : kBackground, static_cast<std::size_t>(width - 2));
    return true;
}

}  // namespace

void edgeRowColumns(const Byte* above, const Byte* centre, const Byte* below, Byte* out,
                    int width, int threshold) {
    if (fillIfThresholdDecides(out, width, threshold)) return;
    columnEdgeRow(above, centre, below, out, width, static_cast<Byte>(threshold));
}

#if RIMTRACE_X86_KERNELS
// The same loop compiled again for AVX2: 32 bytes a step instead of 16. GCC
// inlines the baseline body into a wider target, so only the ISA differs.
// (An AVX-512BW build measured slower than AVX2 here, so there is none.)
[[gnu::target("avx2")]] void edgeRowColumnsAvx2(const Byte* above, const Byte* centre,
                                                const Byte* below, Byte* out, int width,
                                                int threshold) {
    if (fillIfThresholdDecides(out, width, threshold)) return;
    columnEdgeRow(above, centre, below, out, width, static_cast<Byte>(threshold));
}

bool cpuHasAvx2() { return __builtin_cpu_supports("avx2"); }
#endif

// CPU dispatch: the one place that decides which kernel runs.
EdgeRowKernel fastestEdgeRow() {
#if RIMTRACE_X86_KERNELS
    if (cpuHasAvx2()) return edgeRowColumnsAvx2;
#endif
    return edgeRowColumns;
}

cv::Mat buildEdgeMapPlain(const cv::Mat& source, int threshold) {
    CV_Assert(source.type() == CV_8UC1);
    cv::Mat map;
    map.create(source.rows, source.cols, CV_8UC1);
    map = cv::Scalar(kBackground);
    for (int i = 1; i < source.rows - 1; ++i) {
        Byte* out = map.ptr<Byte>(i);
        for (int j = 1; j < source.cols - 1; ++j) {
            if (isEdge(source, i, j, threshold)) out[j] = kEdge;
        }
    }
    return map;
}

cv::Mat buildEdgeMapWith(const cv::Mat& source, int threshold, EdgeRowKernel kernel) {
    CV_Assert(source.type() == CV_8UC1);
    cv::Mat map;
    map.create(source.rows, source.cols, CV_8UC1);
    if (source.rows < 3 || source.cols < 3) {
        map = cv::Scalar(kBackground);
        return map;
    }
    // Only the frame needs clearing: the kernels write every interior pixel.
    map.row(0) = cv::Scalar(kBackground);
    map.row(source.rows - 1) = cv::Scalar(kBackground);
    for (int r = 1; r < source.rows - 1; ++r) {
        Byte* out = map.ptr<Byte>(r);
        out[0] = kBackground;
        out[source.cols - 1] = kBackground;
        kernel(source.ptr<Byte>(r - 1), source.ptr<Byte>(r), source.ptr<Byte>(r + 1), out,
               source.cols, threshold);
    }
    return map;
}

}  // namespace rimtrace
