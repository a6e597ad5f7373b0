#pragma once
// The path mapping that both programs carry a copy of (they share no code),
// written once and run against each copy: on Windows the fixed paths are
// kept as written; elsewhere a drive root stands for the working directory,
// and '/' and '\' both separate folders.

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

inline void expectPathKeptAsWritten(std::string (*localPicturePath)(const std::string&)) {
    for (const char* path : {"C://circles.jpg", R"(C:\vantrel.jpg)", "C:circles.jpg", "plain.png"}) {
        EXPECT_EQ(localPicturePath(path), path);
    }
}
