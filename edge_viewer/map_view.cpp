#include "map_view.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace rimtrace {

namespace {

// Start of the i-th of parts equal shares of length (the last one ends at
// length); 64 bits because i * length overflows int on large pictures.
int shareStart(int i, int length, int parts) {
    return static_cast<int>(static_cast<std::int64_t>(i) * length / parts);
}

}  // namespace

cv::Mat shrinkKeepingEdges(const cv::Mat& map, cv::Size size) {
    if (size == map.size()) return map;
    CV_Assert(map.type() == CV_8UC1 && size.width <= map.cols && size.height <= map.rows);
    cv::Mat view(size, CV_8UC1);
    std::vector<std::uint8_t> rowsMax(static_cast<std::size_t>(map.cols));
    for (int y = 0; y < size.height; ++y) {
        // First the largest of the map rows this view row covers, column by
        // column (a loop that vectorises), then across each column share.
        std::fill(rowsMax.begin(), rowsMax.end(), 0);
        for (int r = shareStart(y, map.rows, size.height); r < shareStart(y + 1, map.rows, size.height); ++r) {
            const std::uint8_t* in = map.ptr<std::uint8_t>(r);
            for (int c = 0; c < map.cols; ++c) rowsMax[c] = std::max(rowsMax[c], in[c]);
        }
        std::uint8_t* out = view.ptr<std::uint8_t>(y);
        for (int x = 0; x < size.width; ++x) {
            out[x] = *std::max_element(rowsMax.begin() + shareStart(x, map.cols, size.width),
                                       rowsMax.begin() + shareStart(x + 1, map.cols, size.width));
        }
    }
    return view;
}

}  // namespace rimtrace
