// How large a picture shows: at its own size, unless it is larger than the
// screen; the fit counts in screen pixels.

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include "desktop/window_fit.hpp"

using namespace desktop;

TEST(WindowFit, KeepsTheAspectAndOnlyShrinks) {
    const cv::Size room(1888, 943);  // a 1920x1080 work area less the window around the picture
    EXPECT_EQ(fittedSize({640, 480}, room), cv::Size(640, 480));
    EXPECT_EQ(fittedSize(room, room), room);
    EXPECT_EQ(fittedSize({4000, 3000}, room), cv::Size(1257, 943));
    EXPECT_EQ(fittedSize({3000, 4000}, room), cv::Size(707, 943));
    EXPECT_EQ(fittedSize({1200, 1500}, room), cv::Size(754, 943));  // narrow enough, too tall
    EXPECT_EQ(fittedSize({2000, 900}, room), cv::Size(1888, 849));  // low enough, too wide
    EXPECT_EQ(fittedSize({9000, 100}, room), cv::Size(1888, 20));
    EXPECT_EQ(fittedSize({100000, 2}, room), cv::Size(1888, 1));  // never below one pixel
    EXPECT_EQ(fittedSize({4000, 3000}, {1824, 911}), cv::Size(1214, 911));  // the tighter side whole
}

// A window's fit counts in screen pixels: at 200 % (two screen pixels to a
// window pixel) a picture that fits keeps its own size on the screen in a
// view half as wide, and a larger one is shrunk to the screen's room, not
// to the window pixels' half of it. Only a picture drawn as is, at 100 %,
// takes its window's size by itself.
TEST(WindowFit, CountsInScreenPixelsAtEveryScale) {
    const cv::Size chrome(32, 112);
    const cv::Rect unscaled(0, 0, 1920, 1080), scaled(0, 0, 960, 540);
    WindowFit fit = fitWindow({640, 480}, unscaled, chrome, 1);
    EXPECT_EQ(fit.shown, cv::Size(640, 480));
    EXPECT_EQ(fit.view, cv::Size(640, 480));
    EXPECT_TRUE(atOwnSize(fit));
    fit = fitWindow({640, 480}, scaled, chrome, 2);
    EXPECT_EQ(fit.shown, cv::Size(640, 480));
    EXPECT_EQ(fit.view, cv::Size(320, 240));
    EXPECT_FALSE(fit.shrunk);
    EXPECT_FALSE(atOwnSize(fit));
    fit = fitWindow({4000, 3000}, scaled, chrome, 2);  // room: 1856x856 screen pixels
    EXPECT_EQ(fit.shown, cv::Size(1141, 856));
    EXPECT_EQ(fit.view, cv::Size(571, 428));
    EXPECT_TRUE(fit.shrunk);
    EXPECT_FALSE(atOwnSize(fitWindow({4000, 3000}, unscaled, chrome, 1)));
    fit = fitWindow({4000, 3000}, cv::Rect(), chrome, 2);  // no work area known: as is
    EXPECT_EQ(fit.shown, cv::Size(4000, 3000));
    EXPECT_EQ(fit.view, cv::Size(2000, 1500));
}
