// On Windows a program's fixed path means what it says: kept as written.

#include <gtest/gtest.h>

#include "desktop/picture_path.hpp"

TEST(PicturePath, IsKeptAsWrittenOnWindows) {
    for (const char* path : {"C://circles.jpg", R"(C:\vantrel.jpg)", "C:circles.jpg", "plain.png"}) {
        EXPECT_EQ(desktop::localPicturePath(path), path);
    }
}
