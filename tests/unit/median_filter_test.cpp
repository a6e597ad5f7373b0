// Behaviour of medianFilter3x3: the result, the frame, and the console trace.

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include "median_filter.hpp"

using namespace speckwipe;

namespace {

// Filters a copy of source as the program does; returns the result and
// stores what was written to cout in trace.
cv::Mat filterCapturingTrace(const cv::Mat& source, std::string& trace) {
    cv::Mat destination;
    source.copyTo(destination);
    std::ostringstream captured;
    std::streambuf* original = std::cout.rdbuf(captured.rdbuf());
    medianFilter3x3(source, destination);
    std::cout.rdbuf(original);
    trace = captured.str();
    return destination;
}

cv::Mat filtered(const cv::Mat& source) {
    std::string ignored;
    return filterCapturingTrace(source, ignored);
}

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

bool identical(const cv::Mat& a, const cv::Mat& b) {
    if (a.size() != b.size() || a.type() != b.type()) return false;
    return a.empty() || cv::norm(a, b, cv::NORM_INF) == 0;
}

cv::Mat randomPicture(int rows, int cols, cv::RNG& rng) {
    cv::Mat picture(rows, cols, CV_8UC1);
    if (!picture.empty()) rng.fill(picture, cv::RNG::UNIFORM, 0, 256);
    return picture;
}

}  // namespace

TEST(MedianTrace, ListsPixelsOneToFourOfRowOneUnsortedThenSorted) {
    // Row 0 holds 10*c, row 1 holds 10*c+1, row 2 holds 10*c+2, so each
    // neighbourhood's values reveal which pixel it belongs to.
    cv::Mat source(3, 7, CV_8UC1);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 7; ++c) source.at<uchar>(r, c) = static_cast<uchar>(10 * c + r);
    std::string trace;
    filterCapturingTrace(source, trace);
    EXPECT_EQ(trace,
              "0 10 20 1 11 21 2 12 22 \n0 1 2 10 11 12 20 21 22 \n"
              "10 20 30 11 21 31 12 22 32 \n10 11 12 20 21 22 30 31 32 \n"
              "20 30 40 21 31 41 22 32 42 \n20 21 22 30 31 32 40 41 42 \n"
              "30 40 50 31 41 51 32 42 52 \n30 31 32 40 41 42 50 51 52 \n");
}

TEST(MedianTrace, DescendingNeighbourhoodIsPrintedAsGatheredThenAscending) {
    const cv::Mat source = (cv::Mat_<uchar>(3, 3) << 9, 8, 7, 6, 5, 4, 3, 2, 1);
    std::string trace;
    const cv::Mat result = filterCapturingTrace(source, trace);
    EXPECT_EQ(trace, "9 8 7 6 5 4 3 2 1 \n1 2 3 4 5 6 7 8 9 \n");
    EXPECT_EQ(result.at<uchar>(1, 1), 5);
}

TEST(MedianTrace, UniformNeighbourhoodPrintsTheSameLineTwice) {
    const cv::Mat source(3, 3, CV_8UC1, cv::Scalar(77));
    std::string trace;
    const cv::Mat result = filterCapturingTrace(source, trace);
    EXPECT_EQ(trace, "77 77 77 77 77 77 77 77 77 \n77 77 77 77 77 77 77 77 77 \n");
    EXPECT_EQ(result.at<uchar>(1, 1), 77);
}

TEST(MedianTrace, ValuesAbove127AreWidenedWithoutSign) {
    const cv::Mat source = (cv::Mat_<uchar>(3, 3) << 255, 128, 200, 0, 129, 254, 1, 130, 127);
    std::string trace;
    filterCapturingTrace(source, trace);
    EXPECT_EQ(trace, "255 128 200 0 129 254 1 130 127 \n0 1 127 128 129 130 200 254 255 \n");
}

TEST(MedianTrace, StopsWhereTheInteriorEnds) {
    cv::RNG rng(1);
    std::string trace;
    filterCapturingTrace(randomPicture(3, 3, rng), trace);
    EXPECT_EQ(lineCount(trace), 2);
    filterCapturingTrace(randomPicture(5, 4, rng), trace);
    EXPECT_EQ(lineCount(trace), 4);
    filterCapturingTrace(randomPicture(3, 6, rng), trace);
    EXPECT_EQ(lineCount(trace), 8);
    filterCapturingTrace(randomPicture(40, 300, rng), trace);
    EXPECT_EQ(lineCount(trace), 8);
}

TEST(MedianFilter, PicturesWithoutInteriorStayUnchangedAndUntraced) {
    cv::RNG rng(2);
    const cv::Size shapes[] = {{0, 0}, {1, 1}, {2, 2}, {1, 9}, {9, 1}, {2, 50}, {50, 2}};
    for (const cv::Size& shape : shapes) {
        const cv::Mat source = randomPicture(shape.height, shape.width, rng);
        std::string trace;
        EXPECT_TRUE(identical(filterCapturingTrace(source, trace), source)) << shape;
        EXPECT_EQ(trace, "") << shape;
    }
}

TEST(MedianFilter, RemovesAnInteriorSpeckAndChangesNothingElse) {
    cv::Mat source(9, 11, CV_8UC1, cv::Scalar(0));
    source.at<uchar>(4, 6) = 255;
    EXPECT_EQ(cv::countNonZero(filtered(source)), 0);
}

TEST(MedianFilter, KeepsTheFrameAsCopied) {
    cv::Mat source(9, 11, CV_8UC1, cv::Scalar(0));
    source.at<uchar>(0, 5) = 255;
    source.at<uchar>(4, 0) = 255;
    source.at<uchar>(8, 10) = 255;
    EXPECT_TRUE(identical(filtered(source), source));

    cv::RNG rng(3);
    const cv::Mat noisy = randomPicture(20, 30, rng);
    const cv::Mat result = filtered(noisy);
    EXPECT_TRUE(identical(result.row(0), noisy.row(0)));
    EXPECT_TRUE(identical(result.row(19), noisy.row(19)));
    EXPECT_TRUE(identical(result.col(0), noisy.col(0)));
    EXPECT_TRUE(identical(result.col(29), noisy.col(29)));
}

TEST(MedianFilter, ReadsOnlyTheSourceNeverItsOwnOutput) {
    // A vertical stripe 2 pixels wide survives a median read from the
    // source; a filter that read back its output would erode it row by row.
    cv::Mat source(8, 8, CV_8UC1, cv::Scalar(0));
    source.colRange(3, 5).setTo(200);
    const cv::Mat result = filtered(source);
    EXPECT_TRUE(identical(result.colRange(3, 5).rowRange(1, 7),
                          cv::Mat(6, 2, CV_8UC1, cv::Scalar(200))));
}

TEST(MedianFilter, MatchesOpenCvMedianBlurInsideTheFrame) {
    cv::RNG rng(4);
    for (int trial = 0; trial < 200; ++trial) {
        const int rows = rng.uniform(3, 90), cols = rng.uniform(3, 200);
        cv::Mat source = randomPicture(rows, cols, rng);
        if (trial % 2) source /= 16;  // few distinct values: many ties
        cv::Mat expected;
        cv::medianBlur(source, expected, 3);
        source.row(0).copyTo(expected.row(0));
        source.row(rows - 1).copyTo(expected.row(rows - 1));
        source.col(0).copyTo(expected.col(0));
        source.col(cols - 1).copyTo(expected.col(cols - 1));
        ASSERT_TRUE(identical(filtered(source), expected)) << rows << "x" << cols;
    }
}

TEST(MedianFilter, HonoursRowStepOfViewsAndWritesOnlyInsideTheView) {
    cv::RNG rng(5);
    const cv::Mat bigSource = randomPicture(60, 80, rng);
    const cv::Rect area(7, 5, 33, 21);
    const cv::Mat sourceView = bigSource(area);

    cv::Mat bigDestination(60, 80, CV_8UC1, cv::Scalar(42));
    cv::Mat destinationView = bigDestination(area);
    sourceView.copyTo(destinationView);
    std::ostringstream ignored;
    std::streambuf* original = std::cout.rdbuf(ignored.rdbuf());
    medianFilter3x3(sourceView, destinationView);
    std::cout.rdbuf(original);

    EXPECT_TRUE(identical(destinationView, filtered(sourceView.clone())));
    bigDestination(area).setTo(42);
    EXPECT_EQ(cv::countNonZero(bigDestination != 42), 0);
}
