// A program's picture: what it reports when it can't read it, and how it
// loads it.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "desktop/picture_file.hpp"
#include "scratch_folder.hpp"

namespace fs = std::filesystem;

using desktop::readGreyPicture;

namespace {

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string failureReason(const fs::path& path) {
    cv::Mat picture;
    std::string reason;
    EXPECT_FALSE(readGreyPicture(path.string(), picture, reason));
    return reason;
}

}  // namespace

TEST(PictureFile, ReportsWhyItCannotRead) {
    const fs::path folder = scratchFolder("desktop_test_");
    writeBytes(folder / "empty.jpg", "");
    writeBytes(folder / "garbage.jpg", std::string("\x01\x02 not a picture at all \xff", 26));
    writeBytes(folder / "text.jpg", "just some text\n");
    EXPECT_EQ(failureReason(folder / "missing.jpg"), "no such file");
    EXPECT_EQ(failureReason(folder), "is a directory");
    EXPECT_EQ(failureReason(folder / "empty.jpg"), "empty file");
    EXPECT_EQ(failureReason(folder / "garbage.jpg"), "not a picture this program can decode");
    EXPECT_EQ(failureReason(folder / "text.jpg"), "not a picture this program can decode");
    fs::remove_all(folder);
}

TEST(PictureFile, LoadsColourAsEightBitGrey) {
    const fs::path folder = scratchFolder("desktop_test_");
    const fs::path path = folder / "colour.png";
    cv::imwrite(path.string(), cv::Mat(4, 6, CV_8UC3, cv::Scalar(0, 0, 255)));
    cv::Mat picture;
    std::string reason;
    ASSERT_TRUE(readGreyPicture(path.string(), picture, reason)) << reason;
    EXPECT_EQ(picture.type(), CV_8UC1);
    EXPECT_EQ(picture.size(), cv::Size(6, 4));
    EXPECT_EQ(picture.at<uchar>(0, 0), 76);  // pure red: 0.299 * 255
    fs::remove_all(folder);
}
