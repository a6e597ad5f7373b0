#pragma once
// The local-range edge test of rimtrace and the edge map built from it.

#include <opencv2/core.hpp>

#include "edge_kernels.hpp"

namespace rimtrace {

// True when the range (largest minus smallest value) of the 3x3
// neighbourhood of (row, col) in the CV_8UC1 image is at least threshold.
// The caller guarantees 1 <= row <= rows-2 and 1 <= col <= cols-2.
bool isEdge(const cv::Mat& image, int row, int col, int threshold);

// A new CV_8UC1 map of the source's size: 255 where isEdge passes at
// threshold, 0 elsewhere, and 0 on the one-pixel frame, which is not tested.
cv::Mat buildEdgeMap(const cv::Mat& source, int threshold);

// The plain map: a zeroed map and isEdge called for every interior pixel.
// Slow; it documents the result, and the tests hold the kernels to it.
cv::Mat buildEdgeMapPlain(const cv::Mat& source, int threshold);

// buildEdgeMap with the given kernel (edge_kernels.hpp): how the tests and
// the benchmark run each kernel. Any int threshold.
cv::Mat buildEdgeMapWith(const cv::Mat& source, int threshold, EdgeKernel kernel);

}  // namespace rimtrace
