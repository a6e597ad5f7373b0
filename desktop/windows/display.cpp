// The display check on Windows. Every interactive session has a desktop to
// show windows on; what has none is a service's session, whose window
// station is not visible: windows opened there exist, but nobody sees them
// and no key can reach them, so the program would wait for ever.

#include "desktop/display.hpp"

#include <windows.h>

namespace desktop {

namespace {

bool windowStationVisible() {
    USEROBJECTFLAGS flags{};
    HWINSTA station = GetProcessWindowStation();
    return station != nullptr &&
           GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
           (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace

bool chooseDisplay(std::string& display, std::string& reason, DisplayRoom& room) {
    if (!windowStationVisible()) {
        display.clear();
        reason = "this session has no visible desktop (a service's window station)";
        return false;
    }
    // The primary screen without the taskbar, in screen pixels: the
    // program declares itself aware of each monitor's scale, so Windows
    // neither stretches its windows nor counts in scaled units.
    RECT area{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        room.workArea = cv::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top);
    }
    room.pixelRatio = 1;
    return true;
}

}  // namespace desktop
