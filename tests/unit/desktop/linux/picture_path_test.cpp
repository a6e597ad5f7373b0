// Where a program's fixed Windows path points on Linux: a drive root stands
// for the working directory, and '/' and '\' both separate folders.

#include <gtest/gtest.h>

#include "desktop/picture_path.hpp"

using desktop::localPicturePath;

TEST(PicturePath, DriveRootStandsForTheWorkingDirectory) {
    EXPECT_EQ(localPicturePath("C://circles.jpg"), "circles.jpg");
    EXPECT_EQ(localPicturePath(R"(C:\vantrel.jpg)"), "vantrel.jpg");
    EXPECT_EQ(localPicturePath("C:circles.jpg"), "circles.jpg");
    EXPECT_EQ(localPicturePath("C://x"), "x");
    EXPECT_EQ(localPicturePath("C:x"), "x");
    EXPECT_EQ(localPicturePath(R"(c:\vantrel.jpg)"), "vantrel.jpg");
    EXPECT_EQ(localPicturePath(R"(d:\pictures/a.png)"), "pictures/a.png");
    EXPECT_EQ(localPicturePath(R"(C:\pictures\vantrel.jpg)"), "pictures/vantrel.jpg");
    EXPECT_EQ(localPicturePath("plain.png"), "plain.png");
}
