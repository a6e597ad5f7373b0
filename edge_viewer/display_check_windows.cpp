// The display check on Windows. Every interactive session has a desktop to
// show windows on; what has none is a service's session, whose window
// station is not visible: windows opened there exist, but nobody sees them
// and no key can reach them, so the program would wait for ever.

#include "display_check.hpp"

#include <windows.h>

#include <opencv2/highgui.hpp>

namespace rimtrace {

namespace {

bool windowStationVisible() {
    USEROBJECTFLAGS flags{};
    HWINSTA station = GetProcessWindowStation();
    return station != nullptr &&
           GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

bool displayAvailable(std::string& display, std::string& reason, cv::Rect& workArea) {
    if (!windowStationVisible()) {
        display.clear();
        reason = "this session has no visible desktop (a service's window station)";
        return false;
    }
    // The primary screen without the taskbar, in the coordinates the
    // program's windows use.
    RECT area{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        workArea = cv::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top);
    }
    return true;
}

// OpenCV's Win32 window keeps its slider in a band above the map, which
// cv::resizeWindow leaves out: it sizes the map.
int windowBarsHeight() { return 0; }

// The slider's band, then the title bar and borders, with room to spare.
cv::Size windowChrome() { return cv::Size(32, 45 + 64); }

void spanSliderAcrossWindow(const std::string& window, cv::Size mapSize) {
    cv::resizeWindow(window, mapSize.width, mapSize.height);
}

}  // namespace rimtrace
