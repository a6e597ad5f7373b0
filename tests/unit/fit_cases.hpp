#pragma once
// How large a picture shows when it is larger than the screen: both
// programs carry a copy of fittedSize (they share no code), and these cases
// run against each copy.

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

inline void expectFitKeepsTheAspectAndOnlyShrinks(cv::Size (*fittedSize)(cv::Size, cv::Size)) {
    const cv::Size room(1888, 943);  // a 1920x1080 work area less the window around the picture
    EXPECT_EQ(fittedSize({640, 480}, room), cv::Size(640, 480));
    EXPECT_EQ(fittedSize(room, room), room);
    EXPECT_EQ(fittedSize({4000, 3000}, room), cv::Size(1257, 943));
    EXPECT_EQ(fittedSize({3000, 4000}, room), cv::Size(707, 943));
    EXPECT_EQ(fittedSize({1200, 1500}, room), cv::Size(754, 943));  // narrow enough, too tall
    EXPECT_EQ(fittedSize({2000, 900}, room), cv::Size(1888, 849));  // low enough, too wide
    EXPECT_EQ(fittedSize({9000, 100}, room), cv::Size(1888, 20));
    EXPECT_EQ(fittedSize({100000, 2}, room), cv::Size(1888, 1));  // never below one pixel
}
