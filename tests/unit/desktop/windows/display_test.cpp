// The display check on Windows: a session whose window station is not visible (a
// service's) is refused, and an interactive one is accepted with the
// screen's work area.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include <opencv2/core.hpp>

#include "desktop/display.hpp"

using namespace desktop;

TEST(DisplayCheck, RefusesASessionWithoutAVisibleDesktop) {
    std::string display = "unchanged";
    std::string reason;
    DisplayRoom room;
    ASSERT_TRUE(chooseDisplay(display, reason, room)) << reason;
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(room.pixelRatio, 1);  // Win32 windows draw in screen pixels
    EXPECT_EQ(room.workArea, cv::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));

    // A window station of its own, as a service has: never visible.
    HWINSTA interactive = GetProcessWindowStation();
    HWINSTA hidden = CreateWindowStationW(nullptr, 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_NE(hidden, nullptr);
    ASSERT_TRUE(SetProcessWindowStation(hidden));
    room = DisplayRoom();
    EXPECT_FALSE(chooseDisplay(display, reason, room));
    EXPECT_EQ(display, "");
    EXPECT_EQ(reason, "this session has no visible desktop (a service's window station)");
    EXPECT_TRUE(room.workArea.empty());
    SetProcessWindowStation(interactive);
    CloseWindowStation(hidden);
}
