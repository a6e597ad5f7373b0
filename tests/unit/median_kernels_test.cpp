// Every median row kernel this CPU can run, held to the plain selection-sort
// kernel that defines the result; and the selection sort itself.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <opencv2/core.hpp>

#include "noise_removal/median_rows.hpp"
#include "noise_removal/neighbourhood.hpp"

using namespace speckwipe;

namespace {

using NamedKernel = std::pair<std::string, MedianRowKernel>;

std::vector<NamedKernel> fastKernelsOnThisCpu() {
    std::vector<NamedKernel> kernels = {{"columns", medianRowColumns}};
#if SPECKWIPE_X86_KERNELS
    if (cpuHasAvx2()) kernels.emplace_back("avx2", medianRowColumnsAvx2);
#endif
    return kernels;
}

// Runs kernel on one row triple; out starts as a copy of centre.
std::vector<uchar> runRow(MedianRowKernel kernel, const std::vector<uchar>& above,
                          const std::vector<uchar>& centre, const std::vector<uchar>& below) {
    std::vector<uchar> out = centre;
    kernel(above.data(), centre.data(), below.data(), out.data(), static_cast<int>(centre.size()));
    return out;
}

std::vector<uchar> randomRow(int width, int levels, cv::RNG& rng) {
    std::vector<uchar> row(width);
    for (uchar& value : row) value = static_cast<uchar>(rng.uniform(0, levels) * 255 / (levels - 1));
    return row;
}

}  // namespace

TEST(MedianKernels, AgreeWithPlainOnEveryWindowOfZerosAndOnes) {
    // A min/max network that picks the median of every 0/1 window picks it
    // for every byte window too (the 0-1 principle), so this is a proof.
    for (const NamedKernel& kernel : fastKernelsOnThisCpu()) {
        for (int bits = 0; bits < 512; ++bits) {
            std::vector<uchar> rows[3];
            for (int k = 0; k < 9; ++k) rows[k / 3].push_back((bits >> k) & 1 ? 255 : 0);
            ASSERT_EQ(runRow(kernel.second, rows[0], rows[1], rows[2]),
                      runRow(medianRowPlain, rows[0], rows[1], rows[2]))
                << kernel.first << " window " << bits;
        }
    }
}

TEST(MedianKernels, AgreeWithPlainOnRandomRowsOfEveryWidth) {
    // Widths up to 200 cover every vector tail of 16, 32 and 64 bytes.
    cv::RNG rng(11);
    for (const NamedKernel& kernel : fastKernelsOnThisCpu()) {
        for (int width = 3; width <= 200; ++width) {
            const int levels = width % 3 == 0 ? 3 : 256;  // some rows full of ties
            const auto above = randomRow(width, levels, rng);
            const auto centre = randomRow(width, levels, rng);
            const auto below = randomRow(width, levels, rng);
            ASSERT_EQ(runRow(kernel.second, above, centre, below),
                      runRow(medianRowPlain, above, centre, below))
                << kernel.first << " width " << width;
        }
    }
}

TEST(MedianKernels, FilterWholePicturesExactlyLikePlain) {
    cv::RNG rng(12);
    cv::Mat source(123, 517, CV_8UC1);
    rng.fill(source, cv::RNG::UNIFORM, 0, 256);
    cv::Mat expected = source.clone();
    medianFilterRows(source, expected, medianRowPlain);
    for (const NamedKernel& kernel : fastKernelsOnThisCpu()) {
        cv::Mat result = source.clone();
        medianFilterRows(source, result, kernel.second);
        EXPECT_EQ(cv::norm(result, expected, cv::NORM_INF), 0) << kernel.first;
    }
}

TEST(MedianKernels, DispatchPicksAKernelThisCpuRuns) {
    const MedianRowKernel chosen = fastestMedianRow();
    const auto kernels = fastKernelsOnThisCpu();
    EXPECT_TRUE(std::any_of(kernels.begin(), kernels.end(),
                            [&](const NamedKernel& k) { return k.second == chosen; }));
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
