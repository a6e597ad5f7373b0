#include "edge_map.hpp"

#include <cstdint>

#include "edge_dispatch.hpp"

namespace rimtrace {

namespace {

using Byte = std::uint8_t;

constexpr Byte kEdge = 255;
constexpr Byte kBackground = 0;

}  // namespace

bool isEdge(const cv::Mat& image, int row, int col, int threshold) {
    const Byte* topLeft = image.ptr<Byte>(row - 1) + (col - 1);
    int largest = *topLeft;
    int smallest = *topLeft;
    for (int r = row - 1; r <= row + 1; ++r) {
        const Byte* pixels = image.ptr<Byte>(r);
        for (int c = col - 1; c <= col + 1; ++c) {
            const int value = pixels[c];
            if (value > largest) largest = value;
            if (value < smallest) smallest = value;
        }
    }
    return largest - smallest >= threshold;
}

cv::Mat buildEdgeMap(const cv::Mat& source, int threshold) {
    return buildEdgeMapWith(source, threshold, fastestEdge());
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

cv::Mat buildEdgeMapWith(const cv::Mat& source, int threshold, EdgeKernel kernel) {
    CV_Assert(source.type() == CV_8UC1);
    cv::Mat map;
    map.create(source.rows, source.cols, CV_8UC1);
    if (source.rows < 3 || source.cols < 3) {
        map = cv::Scalar(kBackground);
        return map;
    }
    // The kernel writes every row but the first and the last, frame
    // columns included. Thresholds outside 1..255 don't depend on the
    // pixels: at 0 or below every range passes, above 255 none does.
    if (threshold >= 1 && threshold <= 255) {
        kernel(source.data, source.step, map.data, map.step, source.rows, source.cols, threshold);
        map.row(0) = cv::Scalar(kBackground);
        map.row(source.rows - 1) = cv::Scalar(kBackground);
    } else {
        map = cv::Scalar(kBackground);
        map(cv::Rect(1, 1, source.cols - 2, source.rows - 2)) =
            cv::Scalar(threshold <= 0 ? kEdge : kBackground);
    }
    return map;
}

}  // namespace rimtrace
