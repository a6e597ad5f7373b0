// libFuzzer target: turns its input into a picture (size, a row padding that
// makes the step wider than the width, pixel values) and a threshold, and
// holds medianFilter3x3, buildEdgeMap, every kernel variant this CPU runs and
// the shrunk view of the map to the plain versions. Any difference aborts,
// so the fuzzer reports it.
//
// Input layout: byte 0 rows, bytes 1-2 columns, byte 3 padding, byte 4 and
// bit 0 of byte 5 the threshold (-1..256), bytes 6 and 7 the shown size,
// the rest the pixels, repeated.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>

#include <opencv2/core.hpp>

#include "edge_dispatch.hpp"
#include "edge_map.hpp"
#include "map_view.hpp"
#include "median_dispatch.hpp"
#include "median_filter.hpp"

namespace {

constexpr std::size_t kHeaderBytes = 8;

cv::Mat pictureFromInput(const std::uint8_t* data, std::size_t size) {
    const int rows = data[0] % 40;
    const int cols = (data[1] | data[2] << 8) % 300;
    const int padding = data[3] % 33;
    cv::Mat storage(rows, cols + padding, CV_8UC1, cv::Scalar(0));
    const std::uint8_t* pixels = data + kHeaderBytes;
    const std::size_t count = size - kHeaderBytes;
    std::size_t next = 0;
    for (int r = 0; r < rows && count > 0; ++r) {
        std::uint8_t* row = storage.ptr<std::uint8_t>(r);
        for (int c = 0; c < cols + padding; ++c) row[c] = pixels[next++ % count];
    }
    return storage(cv::Rect(0, 0, cols, rows));  // a view: step > width
}

void mustEqual(const cv::Mat& a, const cv::Mat& b) {
    if (a.size() != b.size() || a.type() != b.type()) std::abort();
    if (!a.empty() && cv::norm(a, b, cv::NORM_INF) != 0) std::abort();
}

void checkMedian(const cv::Mat& source) {
    cv::Mat expected = source.clone();
    speckwipe::medianFilterWith(source, expected, speckwipe::medianPlain);
    cv::Mat result = source.clone();
    speckwipe::medianFilter3x3(source, result);
    mustEqual(result, expected);
    for (const speckwipe::NamedMedianKernel& built : speckwipe::builtMedianKernels()) {
        if (!built.cpuRunsIt()) continue;
        result = source.clone();
        speckwipe::medianFilterWith(source, result, built.kernel);
        mustEqual(result, expected);
    }
}

void checkEdges(const cv::Mat& source, int threshold) {
    const cv::Mat expected = rimtrace::buildEdgeMapPlain(source, threshold);
    mustEqual(rimtrace::buildEdgeMap(source, threshold), expected);
    for (const rimtrace::NamedEdgeKernel& built : rimtrace::builtEdgeKernels()) {
        if (built.cpuRunsIt()) mustEqual(rimtrace::buildEdgeMapWith(source, threshold, built.kernel), expected);
    }
}

// The view at a size no larger than the picture, from the input's bytes
// 6 and 7.
void checkView(const cv::Mat& source, int threshold, const std::uint8_t* data) {
    if (source.empty()) return;
    const cv::Size shown(1 + data[7] % source.cols, 1 + data[6] % source.rows);
    const rimtrace::MapView view = rimtrace::prepareMapView(source, shown);
    mustEqual(rimtrace::mapViewAt(view, source, threshold),
              rimtrace::shrinkKeepingEdges(rimtrace::buildEdgeMapPlain(source, threshold), shown));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kHeaderBytes) return 0;
    std::cout.rdbuf(nullptr);  // the trace is not under test here; drop it
    const cv::Mat source = pictureFromInput(data, size);
    const int threshold = data[4] + (data[5] & 1) - 1;
    checkMedian(source);
    checkEdges(source, threshold);
    checkView(source, threshold, data);
    return 0;
}
