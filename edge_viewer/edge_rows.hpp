#pragma once
// Row kernels of the edge map, and the one place that picks among them.
//
// A kernel computes one row of the map: for 1 <= c <= width - 2 it writes
// to out[c] 255 when the range of above, centre and below at columns
// c-1..c+1 is at least threshold, else 0. It leaves out[0] and
// out[width - 1] alone and needs width >= 3. Any int threshold is allowed.

#include <cstdint>

#include <opencv2/core.hpp>

namespace rimtrace {

using EdgeRowKernel = void (*)(const std::uint8_t* above, const std::uint8_t* centre,
                               const std::uint8_t* below, std::uint8_t* out, int width,
                               int threshold);

// Column max and min first, then across (see edge_rows.cpp), baseline ISA.
void edgeRowColumns(const std::uint8_t* above, const std::uint8_t* centre,
                    const std::uint8_t* below, std::uint8_t* out, int width, int threshold);

#if defined(__x86_64__) && defined(__GNUC__)
#define RIMTRACE_X86_KERNELS 1
// The same, compiled for AVX2. Call only when cpuHasAvx2().
void edgeRowColumnsAvx2(const std::uint8_t* above, const std::uint8_t* centre,
                        const std::uint8_t* below, std::uint8_t* out, int width, int threshold);
bool cpuHasAvx2();
#endif

// The fastest kernel this CPU runs.
EdgeRowKernel fastestEdgeRow();

// The plain map: a zeroed map and isEdge called for every interior pixel.
// Slow; it documents the result, and the tests hold the kernels to it.
cv::Mat buildEdgeMapPlain(const cv::Mat& source, int threshold);

// buildEdgeMap with the given kernel: a new map, frame black, every
// interior row computed by kernel.
cv::Mat buildEdgeMapWith(const cv::Mat& source, int threshold, EdgeRowKernel kernel);

}  // namespace rimtrace
