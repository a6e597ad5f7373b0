#pragma once
// Whether a window can open at all, and how much of the screen it may take.
// OpenCV's Qt backend aborts the whole process (with a core dump) when it
// can't connect to the X server, so the program connects first, through
// libxcb as Qt does (authorization included), and refuses cleanly instead.

#include <string>

#include <opencv2/core.hpp>

namespace rimtrace {

// True when Qt will find a display: either QT_QPA_PLATFORM names a platform
// other than X11 (offscreen, wayland, ...; workArea is left as it is), or
// the X server that DISPLAY names completes the connection handshake; then
// workArea is the screen's area for windows. Otherwise false, with display
// set to DISPLAY's value (possibly empty) and reason to a short phrase.
bool displayAvailable(std::string& display, std::string& reason, cv::Rect& workArea);

}  // namespace rimtrace
