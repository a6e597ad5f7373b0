#include "edge_map.hpp"

#include "edge_rows.hpp"

bool isEdge(const cv::Mat& image, int row, int col, int threshold) {
    const std::uint8_t* topLeft = image.ptr<std::uint8_t>(row - 1) + (col - 1);
    int largest = *topLeft;
    int smallest = *topLeft;
    for (int r = row - 1; r <= row + 1; ++r) {
        const std::uint8_t* pixels = image.ptr<std::uint8_t>(r);
        for (int c = col - 1; c <= col + 1; ++c) {
            const int value = pixels[c];
            if (value > largest) largest = value;
            if (value < smallest) smallest = value;
        }
    }
    return largest - smallest >= threshold;
}

cv::Mat buildEdgeMap(const cv::Mat& source, int threshold) {
    return rimtrace::buildEdgeMapWith(source, threshold, rimtrace::fastestEdgeRow());
}
