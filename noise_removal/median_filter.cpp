#include "median_filter.hpp"

#include <iostream>

#include "median_dispatch.hpp"
#include "neighbourhood.hpp"

namespace speckwipe {

namespace {

// Only the first pixels of row 1 are traced.
constexpr int kTracedColumnsEnd = 5;

// Traces pixels (1,1)..(1,4), as far as the interior reaches: each
// neighbourhood as gathered, then sorted.
void traceFirstNeighbourhoods(const cv::Mat& source) {
    if (source.rows < 3) return;
    int buffer[9];
    for (int c = 1; c < source.cols - 1 && c < kTracedColumnsEnd; ++c) {
        gatherNeighbourhood(source.ptr<std::uint8_t>(0), source.ptr<std::uint8_t>(1),
                                       source.ptr<std::uint8_t>(2), c, buffer);
        printNeighbourhood(buffer);
        sortNeighbourhood(buffer);
        printNeighbourhood(buffer);
    }
}

}  // namespace

void medianFilter3x3(const cv::Mat& source, cv::Mat& destination) {
    medianFilterWith(source, destination, fastestMedian());
    traceFirstNeighbourhoods(source);  // from the source, which filtering leaves alone
}

void medianFilterWith(const cv::Mat& source, cv::Mat& destination, MedianKernel kernel) {
    CV_Assert(source.type() == CV_8UC1 && destination.type() == CV_8UC1);
    CV_Assert(source.size() == destination.size());
    kernel(source.data, source.step, destination.data, destination.step, source.rows, source.cols);
}

void printNeighbourhood(const int (&buffer)[9]) {
    for (int value : buffer) {
        std::cout << value << " ";
    }
    std::cout << "\n";
}

}  // namespace speckwipe
