#pragma once
// Row kernels of the 3x3 median, and the one place that picks among them.
//
// A kernel computes one output row: for 1 <= c <= width - 2 it writes to
// out[c] the median of above, centre and below at columns c-1..c+1. It leaves
// out[0] and out[width - 1] alone and needs width >= 3.

#include <cstdint>

#include <opencv2/core.hpp>

namespace speckwipe {

using MedianRowKernel = void (*)(const std::uint8_t* above, const std::uint8_t* centre,
                                 const std::uint8_t* below, std::uint8_t* out, int width);

// The definition: gather each neighbourhood, selection-sort it, take the
// middle value. Slow; the other kernels are held to it by the tests.
void medianRowPlain(const std::uint8_t* above, const std::uint8_t* centre,
                    const std::uint8_t* below, std::uint8_t* out, int width);

// The column trick (see median_rows.cpp), compiled for the baseline ISA.
void medianRowColumns(const std::uint8_t* above, const std::uint8_t* centre,
                      const std::uint8_t* below, std::uint8_t* out, int width);

#if defined(__x86_64__) && defined(__GNUC__)
#define SPECKWIPE_X86_KERNELS 1
// The same column trick compiled for AVX2. Call only when cpuHasAvx2().
void medianRowColumnsAvx2(const std::uint8_t* above, const std::uint8_t* centre,
                          const std::uint8_t* below, std::uint8_t* out, int width);
bool cpuHasAvx2();
#endif

// The fastest kernel this CPU runs.
MedianRowKernel fastestMedianRow();

// Runs kernel over every interior row: reads source, writes destination.
// Both CV_8UC1 of one size; does nothing when there is no interior.
void medianFilterRows(const cv::Mat& source, cv::Mat& destination, MedianRowKernel kernel);

}  // namespace speckwipe
