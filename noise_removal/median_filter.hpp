#pragma once
// The 3x3 median filter of speckwipe and the console trace it writes.

#include <opencv2/core.hpp>

#include "median_kernels.hpp"

namespace speckwipe {

// Replaces every interior pixel of destination by the median of the 3x3
// neighbourhood of the same pixel in source. Both are CV_8UC1 of one size and
// destination already holds a copy of source, so the one-pixel frame keeps
// the source values. Values are read from source only. While filtering, the
// neighbourhoods of pixels (1,1)..(1,4) are traced to cout, each as gathered
// and then sorted.
void medianFilter3x3(const cv::Mat& source, cv::Mat& destination);

// Writes the nine values to cout, each followed by one space, then "\n".
void printNeighbourhood(const int (&buffer)[9]);

// The filtering of medianFilter3x3 with the given kernel, without the trace:
// how the tests and the benchmark run each kernel on a picture.
void medianFilterWith(const cv::Mat& source, cv::Mat& destination, MedianKernel kernel);

}  // namespace speckwipe
