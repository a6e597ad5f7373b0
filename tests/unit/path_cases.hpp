#pragma once
// The path mapping that both programs carry a copy of (they share no code),
// written once and run against each copy: a Windows drive root stands for
// the working directory, and '/' and '\' both separate folders.

#include <gtest/gtest.h>

#include <string>

inline void expectDriveRootMeansWorkingDirectory(std::string (*localPicturePath)(const std::string&)) {
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
