// Windows limits no process's address space: nothing to keep
// (display.hpp).

#include "desktop/display.hpp"

namespace desktop {

DisplayRoom keepRoomForWindows() { return {}; }

void giveRoomToWindow(DisplayRoom&, cv::Size) {}

}  // namespace desktop
