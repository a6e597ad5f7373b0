#pragma once
// Whether a window can open at all. OpenCV's Qt backend aborts the whole
// process (with a core dump) when it finds no X server, so the program asks
// first and refuses cleanly instead.

#include <string>

namespace rimtrace {

// True when Qt will find a display: either QT_QPA_PLATFORM names a platform
// other than X11 (offscreen, wayland, ...), or the X server that DISPLAY
// names accepts a connection. Otherwise false, with display set to DISPLAY's
// value (possibly empty) and reason to a short phrase.
bool displayAvailable(std::string& display, std::string& reason);

}  // namespace rimtrace
