#pragma once
// The Windows display check that both programs carry a copy of, run
// against each copy: a session whose window station is not visible (a
// service's) is refused, and an interactive one is accepted with the
// screen's work area.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include <opencv2/core.hpp>

using DisplayCheck = bool (*)(std::string& display, std::string& reason, cv::Rect& workArea);

inline void expectHiddenWindowStationRefused(DisplayCheck chooseDisplay) {
    std::string display = "unchanged";
    std::string reason;
    cv::Rect workArea;
    ASSERT_TRUE(chooseDisplay(display, reason, workArea)) << reason;
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(workArea, cv::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));

    // A window station of its own, as a service has: never visible.
    HWINSTA interactive = GetProcessWindowStation();
    HWINSTA hidden = CreateWindowStationW(nullptr, 0, WINSTA_ALL_ACCESS, nullptr);
    ASSERT_NE(hidden, nullptr);
    ASSERT_TRUE(SetProcessWindowStation(hidden));
    workArea = cv::Rect();
    EXPECT_FALSE(chooseDisplay(display, reason, workArea));
    EXPECT_EQ(display, "");
    EXPECT_EQ(reason, "this session has no visible desktop (a service's window station)");
    EXPECT_TRUE(workArea.empty());
    SetProcessWindowStation(interactive);
    CloseWindowStation(hidden);
}
