// Every median kernel this CPU can run, held to the plain selection-sort
// kernel that defines the result; the CPU dispatch; and the selection sort.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <opencv2/core.hpp>

#include "median_dispatch.hpp"
#include "median_filter.hpp"
#include "neighbourhood.hpp"
#include "cpu_features.hpp"

using namespace speckwipe;

namespace {

using NamedKernel = std::pair<std::string, MedianKernel>;

// The built kernels that this CPU really runs, by the CPU's own word.
std::vector<NamedKernel> fastKernelsOnThisCpu() {
    std::vector<NamedKernel> kernels;
    for (const NamedMedianKernel& built : builtMedianKernels()) {
        if (cpuReallyRuns(built.name)) kernels.emplace_back(built.name, built.kernel);
    }
    return kernels;
}

// source filtered by kernel into a copy of source.
cv::Mat filteredWith(MedianKernel kernel, const cv::Mat& source) {
    cv::Mat result = source.clone();
    medianFilterWith(source, result, kernel);
    return result;
}

bool identical(const cv::Mat& a, const cv::Mat& b) {
    return a.size() == b.size() && (a.empty() || cv::norm(a, b, cv::NORM_INF) == 0);
}

cv::Mat randomPicture(int rows, int cols, int levels, cv::RNG& rng) {
    cv::Mat picture(rows, cols, CV_8UC1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            picture.at<uchar>(r, c) = static_cast<uchar>(rng.uniform(0, levels) * 255 / (levels - 1));
    return picture;
}

}  // namespace

TEST(MedianKernels, AgreeWithPlainOnEveryWindowOfZerosAndOnes) {
    // A min/max network that picks the median of every 0/1 window picks it
    // for every byte window too (the 0-1 principle), so this is a proof.
    // Window k stands alone at columns 3k..3k+2, and rows 3..5 hold it
    // again below a row of zeros, for the second row of a pair.
    cv::Mat source(7, 3 * 512, CV_8UC1, cv::Scalar(0));
    for (int bits = 0; bits < 512; ++bits)
        for (int k = 0; k < 9; ++k) {
            const uchar value = (bits >> k) & 1 ? 255 : 0;
            source.at<uchar>(k / 3, 3 * bits + k % 3) = value;
            source.at<uchar>(4 + k / 3, 3 * bits + k % 3) = value;
        }
    const cv::Mat expected = filteredWith(medianPlain, source);
    for (const NamedKernel& kernel : fastKernelsOnThisCpu()) {
        EXPECT_TRUE(identical(filteredWith(kernel.second, source), expected)) << kernel.first;
    }
}

TEST(MedianKernels, AgreeWithPlainOnEveryWidthHeightAndRowStep) {
    // Widths up to 200 cover every vector tail of 16 and 32 bytes, and the
    // fallback below one vector; odd and even heights, the lone last row of
    // a pair; views, a row step wider than the width.
    cv::RNG rng(11);
    for (int width = 3; width <= 200; ++width) {
        const int height = 3 + width % 5;
        const int levels = width % 3 == 0 ? 3 : 256;  // some pictures full of ties
        const cv::Mat storage = randomPicture(height, width + width % 7, levels, rng);
        const cv::Mat source = storage(cv::Rect(0, 0, width, height));
        const cv::Mat expected = filteredWith(medianPlain, source);
        for (const NamedKernel& kernel : fastKernelsOnThisCpu()) {
            ASSERT_TRUE(identical(filteredWith(kernel.second, source), expected))
                << kernel.first << " " << width << "x" << height;
        }
    }
}

TEST(MedianKernels, FilterWholePicturesExactlyLikePlain) {
    // Wider than one strip of vectors, so strips meet inside the picture.
    cv::RNG rng(12);
    cv::Mat source(41, 4500, CV_8UC1);
    rng.fill(source, cv::RNG::UNIFORM, 0, 256);
    const cv::Mat expected = filteredWith(medianPlain, source);
    for (const NamedKernel& kernel : fastKernelsOnThisCpu()) {
        EXPECT_TRUE(identical(filteredWith(kernel.second, source), expected)) << kernel.first;
    }
}

TEST(MedianKernels, DispatchPicksTheFastestKernelOfThisCpu) {
    for (const NamedMedianKernel& built : builtMedianKernels()) {
        EXPECT_EQ(built.cpuRunsIt(), cpuReallyRuns(built.name)) << built.name;
    }
    EXPECT_EQ(fastestMedian(), fastKernelsOnThisCpu().back().second);
}

TEST(SelectionSort, SortsEveryOrderingAscending) {
    int values[9] = {3, 1, 4, 1, 5, 9, 2, 6, 5};
    std::sort(values, values + 9);
    do {
        int buffer[9];
        std::copy(values, values + 9, buffer);
        sortNeighbourhood(buffer);
        ASSERT_TRUE(std::is_sorted(buffer, buffer + 9));
        ASSERT_TRUE(std::is_permutation(buffer, buffer + 9, values));
    } while (std::next_permutation(values, values + 9));
}

TEST(SelectionSort, LeavesAnAlreadySmallestFirstValueInPlace) {
    int buffer[9] = {0, 8, 7, 6, 5, 4, 3, 2, 1};
    sortNeighbourhood(buffer);
    const int expected[9] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_TRUE(std::equal(buffer, buffer + 9, expected));
}

TEST(Neighbourhood, IsGatheredInRasterOrder) {
    const uchar above[] = {1, 2, 3, 4}, centre[] = {5, 6, 7, 8}, below[] = {9, 10, 11, 12};
    int buffer[9];
    gatherNeighbourhood(above, centre, below, 2, buffer);
    const int expected[9] = {2, 3, 4, 6, 7, 8, 10, 11, 12};
    EXPECT_TRUE(std::equal(buffer, buffer + 9, expected));
}
