// Behaviour of rimtrace's edge test and edge map, held to isEdge itself and
// to OpenCV's morphological gradient.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "edge_dispatch.hpp"
#include "edge_map.hpp"
#include "map_view.hpp"
#include "cpu_features.hpp"

using namespace rimtrace;

namespace {

cv::Mat randomPicture(int rows, int cols, cv::RNG& rng, int levels = 256) {
    cv::Mat picture(rows, cols, CV_8UC1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            picture.at<uchar>(r, c) = static_cast<uchar>(rng.uniform(0, levels) * 255 / (levels - 1));
    return picture;
}

// The map as the program's definition reads: isEdge for every interior pixel.
cv::Mat mapFromIsEdge(const cv::Mat& source, int threshold) {
    cv::Mat map = cv::Mat::zeros(source.size(), CV_8UC1);
    for (int r = 1; r < source.rows - 1; ++r)
        for (int c = 1; c < source.cols - 1; ++c)
            if (isEdge(source, r, c, threshold)) map.at<uchar>(r, c) = 255;
    return map;
}

// Independent oracle: dilate minus erode is the 3x3 range.
cv::Mat mapFromGradient(const cv::Mat& source, int threshold) {
    cv::Mat range;
    cv::morphologyEx(source, range, cv::MORPH_GRADIENT, cv::Mat::ones(3, 3, CV_8U));
    cv::Mat map = range >= std::max(threshold, 0);
    if (threshold > 255) map.setTo(0);
    cv::Mat interior = map(cv::Rect(1, 1, source.cols - 2, source.rows - 2)).clone();
    map.setTo(0);
    interior.copyTo(map(cv::Rect(1, 1, source.cols - 2, source.rows - 2)));
    return map;
}

bool identical(const cv::Mat& a, const cv::Mat& b) {
    if (a.size() != b.size() || a.type() != b.type()) return false;
    return a.empty() || cv::norm(a, b, cv::NORM_INF) == 0;
}

using NamedKernel = std::pair<std::string, EdgeKernel>;

// The kernel run on a map full of 77 writes rows 1 to rows-2 as expected,
// frame columns included, and leaves rows 0 and rows-1 alone.
bool kernelWritesItsRows(EdgeKernel kernel, const cv::Mat& source, int threshold,
                         const cv::Mat& expected) {
    cv::Mat map(source.size(), CV_8UC1, cv::Scalar(77));
    kernel(source.data, source.step, map.data, map.step, source.rows, source.cols, threshold);
    const cv::Rect itsRows(0, 1, source.cols, source.rows - 2);
    const cv::Mat untouched(1, source.cols, CV_8UC1, cv::Scalar(77));
    return identical(map(itsRows), expected(itsRows)) && identical(map.row(0), untouched) &&
           identical(map.row(source.rows - 1), untouched);
}

// The built kernels that this CPU really runs, by the CPU's own word.
std::vector<NamedKernel> kernelsOnThisCpu() {
    std::vector<NamedKernel> kernels;
    for (const NamedEdgeKernel& built : builtEdgeKernels()) {
        if (cpuReallyRuns(built.name)) kernels.emplace_back(built.name, built.kernel);
    }
    return kernels;
}

}  // namespace

TEST(IsEdge, ThresholdZeroOrBelowPassesEvenAUniformPicture) {
    const cv::Mat uniform(3, 3, CV_8UC1, cv::Scalar(90));
    EXPECT_TRUE(isEdge(uniform, 1, 1, 0));
    EXPECT_TRUE(isEdge(uniform, 1, 1, -7));
    EXPECT_FALSE(isEdge(uniform, 1, 1, 1));
}

TEST(IsEdge, ThresholdOnePassesExactlyWhenTheNeighbourhoodIsNotUniform) {
    for (int position = 0; position < 9; ++position) {
        cv::Mat picture(3, 3, CV_8UC1, cv::Scalar(90));
        picture.at<uchar>(position / 3, position % 3) = 91;
        EXPECT_TRUE(isEdge(picture, 1, 1, 1)) << "odd pixel at " << position;
    }
}

TEST(IsEdge, PassesOnEqualityAndCountsTheCentreLikeTheOthers) {
    cv::Mat picture(3, 3, CV_8UC1, cv::Scalar(100));
    picture.at<uchar>(1, 1) = 200;
    EXPECT_TRUE(isEdge(picture, 1, 1, 100));
    EXPECT_FALSE(isEdge(picture, 1, 1, 101));
}

TEST(IsEdge, SpanOf99FailsAt100AndPassesAt99) {
    const cv::Mat picture = (cv::Mat_<uchar>(3, 3) << 150, 99, 120, 130, 140, 198, 160, 170, 180);
    EXPECT_FALSE(isEdge(picture, 1, 1, 100));
    EXPECT_TRUE(isEdge(picture, 1, 1, 99));
}

TEST(IsEdge, BlackAndWhiteTogetherPassUpTo255AndNotBeyond) {
    const cv::Mat picture = (cv::Mat_<uchar>(3, 3) << 255, 9, 9, 9, 9, 9, 9, 9, 0);
    EXPECT_TRUE(isEdge(picture, 1, 1, 255));
    EXPECT_FALSE(isEdge(picture, 1, 1, 256));
}

TEST(IsEdge, LooksOnlyAtTheNeighbourhoodOfTheGivenPixelInAView) {
    cv::Mat big(10, 12, CV_8UC1, cv::Scalar(0));
    big.at<uchar>(3, 3) = 255;  // next to the view, outside its neighbourhoods
    const cv::Mat view = big(cv::Rect(4, 2, 5, 5));
    EXPECT_FALSE(isEdge(view, 1, 1, 1));
    big.at<uchar>(4, 5) = 7;  // view pixel (2, 1)
    EXPECT_TRUE(isEdge(view, 1, 1, 7));
    EXPECT_FALSE(isEdge(view, 1, 1, 8));
}

TEST(EdgeMap, MatchesIsEdgeAndTheMorphologicalGradientAtEveryThreshold) {
    cv::RNG rng(21);
    for (int trial = 0; trial < 6; ++trial) {
        const int levels = trial % 2 ? 4 : 256;
        const cv::Mat source = randomPicture(rng.uniform(3, 40), rng.uniform(3, 150), rng, levels);
        for (int threshold = -1; threshold <= 257; ++threshold) {
            const cv::Mat map = buildEdgeMap(source, threshold);
            ASSERT_TRUE(identical(map, mapFromIsEdge(source, threshold))) << threshold;
            ASSERT_TRUE(identical(map, mapFromGradient(source, threshold))) << threshold;
        }
    }
}

TEST(EdgeMap, HonoursTheRowStepOfViews) {
    cv::RNG rng(22);
    const cv::Mat big = randomPicture(50, 90, rng);
    const cv::Mat view = big(cv::Rect(13, 7, 41, 30));
    for (int threshold : {0, 1, 60, 100, 200, 255}) {
        EXPECT_TRUE(identical(buildEdgeMap(view, threshold), mapFromIsEdge(view, threshold)));
        EXPECT_TRUE(identical(buildEdgeMap(view, threshold), buildEdgeMap(view.clone(), threshold)));
    }
}

TEST(EdgeMap, AtZeroIsWhiteEverywhereButTheBlackFrame) {
    cv::RNG rng(23);
    const cv::Mat map = buildEdgeMap(randomPicture(7, 9, rng), 0);
    EXPECT_EQ(cv::countNonZero(map), 5 * 7);
    EXPECT_EQ(cv::countNonZero(map(cv::Rect(1, 1, 7, 5)) == 255), 5 * 7);
}

TEST(EdgeMap, UniformPictureIsBlackAtEveryThresholdFromOne) {
    const cv::Mat uniform(20, 30, CV_8UC1, cv::Scalar(128));
    for (int threshold = 1; threshold <= 255; ++threshold) {
        ASSERT_EQ(cv::countNonZero(buildEdgeMap(uniform, threshold)), 0) << threshold;
    }
}

TEST(EdgeMap, PicturesWithoutInteriorGiveABlackMapOfTheSameSize) {
    const cv::Size shapes[] = {{0, 0}, {1, 1}, {2, 2}, {1, 7}, {7, 1}, {2, 40}, {40, 2}};
    for (const cv::Size& shape : shapes) {
        const cv::Mat source(shape, CV_8UC1, cv::Scalar(255));
        const cv::Mat map = buildEdgeMap(source, 0);
        EXPECT_EQ(map.size(), shape);
        EXPECT_EQ(map.type(), CV_8UC1);
        EXPECT_TRUE(map.empty() || cv::countNonZero(map) == 0) << shape;
    }
}

TEST(EdgeKernels, EveryKernelMatchesThePlainMapAtEveryWidthHeightAndThreshold) {
    // Widths up to 140 cover every vector tail of 16 and 32 bytes, and the
    // fallback below one vector; odd and even heights, the lone last row of
    // a pair; views, a row step wider than the width.
    cv::RNG rng(24);
    for (int width = 3; width <= 140; ++width) {
        const cv::Mat storage = randomPicture(3 + width % 4, width + width % 5, rng, width % 2 ? 256 : 5);
        const cv::Mat source = storage(cv::Rect(0, 0, width, storage.rows));
        for (int threshold : {-3, 0, 1, 2, 63, 64, 100, 127, 128, 129, 200, 254, 255, 256, 999}) {
            const cv::Mat expected = buildEdgeMapPlain(source, threshold);
            for (const NamedKernel& kernel : kernelsOnThisCpu()) {
                ASSERT_TRUE(identical(buildEdgeMapWith(source, threshold, kernel.second), expected))
                    << kernel.first << " width " << width << " threshold " << threshold;
                if (threshold >= 1 && threshold <= 255) {
                    ASSERT_TRUE(kernelWritesItsRows(kernel.second, source, threshold, expected))
                        << kernel.first << " width " << width << " threshold " << threshold;
                }
            }
        }
    }
    const cv::Mat wide = randomPicture(9, 4500, rng);  // strips meet inside the picture
    for (const NamedKernel& kernel : kernelsOnThisCpu()) {
        EXPECT_TRUE(identical(buildEdgeMapWith(wide, 60, kernel.second), buildEdgeMapPlain(wide, 60)))
            << kernel.first;
        EXPECT_TRUE(kernelWritesItsRows(kernel.second, wide, 60, buildEdgeMapPlain(wide, 60)))
            << kernel.first;
    }
}

TEST(EdgeKernels, DispatchPicksTheFastestKernelOfThisCpu) {
    for (const NamedEdgeKernel& built : builtEdgeKernels()) {
        EXPECT_EQ(built.cpuRunsIt(), cpuReallyRuns(built.name)) << built.name;
    }
    EXPECT_EQ(fastestEdge(), kernelsOnThisCpu().back().second);
}

TEST(MapView, ShrinkingKeepsEveryOnePixelLineAndAddsNothing) {
    const cv::Size view(131, 97);  // shares of 4 and 5 pixels
    const cv::Mat black = cv::Mat::zeros(450, 600, CV_8UC1);
    EXPECT_EQ(cv::countNonZero(shrinkKeepingEdges(black, view)), 0);
    for (int r = 0; r < black.rows; ++r) {
        cv::Mat map = black.clone();
        map.row(r).setTo(255);
        ASSERT_EQ(cv::countNonZero(shrinkKeepingEdges(map, view)), view.width) << "row " << r;
    }
    for (int c = 0; c < black.cols; ++c) {
        cv::Mat map = black.clone();
        map.col(c).setTo(255);
        ASSERT_EQ(cv::countNonZero(shrinkKeepingEdges(map, view)), view.height) << "column " << c;
    }
    const cv::Mat small(40, 50, CV_8UC1, cv::Scalar(255));
    EXPECT_EQ(shrinkKeepingEdges(small, small.size()).data, small.data);  // fits: shown as it is
}

TEST(MapView, PreparedViewEqualsTheShrunkPlainMapAtEveryThreshold) {
    // Shares of one pixel and of many, shares of the frame alone (a view one
    // pixel narrower than the picture), one-pixel views, pictures without
    // interior, and a view with a row step wider than its width.
    cv::RNG rng(25);
    const cv::Mat storage = randomPicture(70, 230, rng);
    std::vector<std::pair<cv::Mat, cv::Size>> cases = {
        {storage(cv::Rect(3, 2, 200, 61)), {199, 60}}, {storage(cv::Rect(3, 2, 200, 61)), {1, 1}},
        {storage, {3, 70}},  {storage, {230, 2}},  {storage.rowRange(0, 2), {50, 1}},
        {storage.colRange(0, 2), {1, 30}},  {storage.rowRange(0, 3), {7, 2}}};
    for (int trial = 0; trial < 40; ++trial) {
        const cv::Mat source = randomPicture(rng.uniform(1, 60), rng.uniform(1, 200), rng, trial % 2 ? 3 : 256);
        cases.emplace_back(source, cv::Size(rng.uniform(1, source.cols + 1), rng.uniform(1, source.rows + 1)));
    }
    for (const auto& [source, size] : cases) {
        const MapView view = prepareMapView(source, size);
        for (int threshold = -1; threshold <= 257; ++threshold) {
            ASSERT_TRUE(identical(mapViewAt(view, source, threshold),
                                  shrinkKeepingEdges(buildEdgeMapPlain(source, threshold), size)))
                << source.size() << " shown at " << size << ", threshold " << threshold;
        }
    }
}

TEST(MapView, APictureThatFitsShowsItsExactMap) {
    cv::RNG rng(26);
    const cv::Mat source = randomPicture(40, 90, rng);
    const MapView view = prepareMapView(source, source.size());
    EXPECT_TRUE(view.largestRanges.empty());  // nothing kept beside the picture
    for (int threshold : {0, 1, 100, 255}) {
        EXPECT_TRUE(identical(mapViewAt(view, source, threshold), buildEdgeMapPlain(source, threshold)));
    }
}
