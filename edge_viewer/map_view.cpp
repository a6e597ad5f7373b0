#include "map_view.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "edge_kernels.hpp"
#include "edge_map.hpp"

namespace rimtrace {

namespace {

using Byte = std::uint8_t;

constexpr Byte kEdge = 255;
constexpr Byte kBackground = 0;

// Where each of parts equal shares of length starts, then length itself:
// share i is [starts[i], starts[i + 1]). 64 bits because i * length
// overflows int on large pictures.
std::vector<int> shareStarts(int length, int parts) {
    std::vector<int> starts(static_cast<std::size_t>(parts) + 1);
    for (int i = 0; i <= parts; ++i) {
        starts[i] = static_cast<int>(static_cast<std::int64_t>(i) * length / parts);
    }
    return starts;
}

// The shares that hold a pixel of 1 to length-2, the interior: [start, end),
// empty when there is none.
cv::Range sharesWithInterior(const std::vector<int>& starts, int length) {
    const int parts = static_cast<int>(starts.size()) - 1;
    auto holdsInterior = [&](int i) {
        return std::max(starts[i], 1) <= std::min(starts[i + 1] - 1, length - 2);
    };
    int first = 0;
    while (first < parts && !holdsInterior(first)) ++first;
    int end = parts;
    while (end > first && !holdsInterior(end - 1)) --end;
    return {first, end};
}

// The per-pixel loops take their length by value and __restrict pointers:
// a byte store could otherwise change a length read through a pointer,
// and the compiler would not vectorise them.

// largest[c] = max(largest[c], row[c]) for c < width.
void takeLargest(Byte* __restrict largest, const Byte* __restrict row, int width) {
    for (int c = 0; c < width; ++c) largest[c] = std::max(largest[c], row[c]);
}

// out[x] = 255 where largest[x] >= least, else 0, for x < width.
void thresholdRow(const Byte* __restrict largest, Byte* __restrict out, int width, Byte least) {
    for (int x = 0; x < width; ++x) out[x] = largest[x] >= least ? kEdge : kBackground;
}

// values[c] becomes the largest of values[c] to values[c + window - 1], for
// c up to length - window: in place, in window - 1 passes that vectorise.
void slideLargest(Byte* values, int length, int window) {
    for (int pass = 1; pass < window; ++pass) {
        for (int c = 0; c + pass < length; ++c) values[c] = std::max(values[c], values[c + 1]);
    }
}

// out[x] = the larger of values[first[x]] and values[last[x]].
void largerOfTwo(const Byte* __restrict values, const int* __restrict first,
                 const int* __restrict last, Byte* __restrict out, int parts) {
    for (int x = 0; x < parts; ++x) out[x] = std::max(values[first[x]], values[last[x]]);
}

// The shares of a row, for largestOfShares: all are least or least + 1
// long (least = length / parts), so the largest of a share is the larger
// of the largest least values from its start and from least before its
// end, which overlap when it is least long. Neither a loop up to each
// share's end, which mispredicts at every pixel, nor a division per pixel.
struct RowShares {
    int least;
    std::vector<int> first;  // where each share starts
    std::vector<int> last;   // least before where each ends
};

RowShares rowShares(const std::vector<int>& starts) {
    const int parts = static_cast<int>(starts.size()) - 1;
    RowShares shares{starts.back() / parts, std::vector<int>(starts.begin(), starts.end() - 1),
                     std::vector<int>(starts.begin() + 1, starts.end())};
    for (int& end : shares.last) end -= shares.least;
    return shares;
}

// The largest value of each share of row, into out; row is used up.
void largestOfShares(std::vector<Byte>& row, const RowShares& shares, Byte* out) {
    slideLargest(row.data(), static_cast<int>(row.size()), shares.least);
    largerOfTwo(row.data(), shares.first.data(), shares.last.data(), out,
                static_cast<int>(shares.first.size()));
}

}  // namespace

cv::Mat shrinkKeepingEdges(const cv::Mat& map, cv::Size size) {
    if (size == map.size()) return map;
    CV_Assert(map.type() == CV_8UC1 && size.width <= map.cols && size.height <= map.rows);
    const std::vector<int> rows = shareStarts(map.rows, size.height);
    const RowShares columns = rowShares(shareStarts(map.cols, size.width));
    cv::Mat view(size, CV_8UC1);
    std::vector<Byte> rowsMax(static_cast<std::size_t>(map.cols));
    for (int y = 0; y < size.height; ++y) {
        // First the largest of the map rows of this share, column by column,
        // then across each column share.
        std::fill(rowsMax.begin(), rowsMax.end(), kBackground);
        for (int r = rows[y]; r < rows[y + 1]; ++r) {
            takeLargest(rowsMax.data(), map.ptr<Byte>(r), map.cols);
        }
        largestOfShares(rowsMax, columns, view.ptr<Byte>(y));
    }
    return view;
}

// As shrinkKeepingEdges, with each map row replaced by the local ranges of
// its interior pixels (0 on the frame, which is never tested), one source
// row at a time: nothing of the picture's size is kept.
MapView prepareMapView(const cv::Mat& source, cv::Size shown) {
    if (shown == source.size()) return {};
    CV_Assert(source.type() == CV_8UC1 && shown.width <= source.cols && shown.height <= source.rows);
    const std::vector<int> rows = shareStarts(source.rows, shown.height);
    const std::vector<int> columnStarts = shareStarts(source.cols, shown.width);
    const RowShares columns = rowShares(columnStarts);
    MapView view{cv::Mat(shown, CV_8UC1), cv::Rect()};
    std::vector<Byte> ranges(static_cast<std::size_t>(source.cols), kBackground);
    std::vector<Byte> rowsMax(ranges.size());
    for (int y = 0; y < shown.height; ++y) {
        std::fill(rowsMax.begin(), rowsMax.end(), kBackground);
        const int end = std::min(rows[y + 1], source.rows - 1);
        for (int r = std::max(rows[y], 1); r < end; ++r) {
            localRangeRow(source.ptr<Byte>(r - 1), source.ptr<Byte>(r), source.ptr<Byte>(r + 1),
                          ranges.data(), source.cols);
            takeLargest(rowsMax.data(), ranges.data(), source.cols);
        }
        largestOfShares(rowsMax, columns, view.largestRanges.ptr<Byte>(y));
    }
    const cv::Range across = sharesWithInterior(columnStarts, source.cols);
    const cv::Range down = sharesWithInterior(rows, source.rows);
    view.interior = cv::Rect(across.start, down.start, across.size(), down.size());
    return view;
}

cv::Mat mapViewAt(const MapView& view, const cv::Mat& source, int threshold) {
    if (view.largestRanges.empty()) return buildEdgeMap(source, threshold);
    cv::Mat shown(view.largestRanges.size(), CV_8UC1);
    // Thresholds outside 1..255 don't depend on the pixels, as in the map:
    // at 0 or below every interior pixel passes, above 255 none does.
    if (threshold < 1 || threshold > 255) {
        shown = cv::Scalar(kBackground);
        if (threshold < 1 && !view.interior.empty()) shown(view.interior) = cv::Scalar(kEdge);
        return shown;
    }
    for (int y = 0; y < shown.rows; ++y) {
        thresholdRow(view.largestRanges.ptr<Byte>(y), shown.ptr<Byte>(y), shown.cols,
                     static_cast<Byte>(threshold));
    }
    return shown;
}

}  // namespace rimtrace
