#pragma once
// Whether a window can open at all, and how much of the screen it may
// take. OpenCV's Qt backend aborts the whole process (with a core dump)
// when it can't reach the X server or Wayland compositor, or lacks the
// plugin for it, so the program connects first, as Qt would, and refuses
// cleanly instead. One file per system behind this header (linux/, windows/).

#include <string>

#include <opencv2/core.hpp>

namespace speckwipe {

// Finds the display a window will open on and, where there is a choice,
// tells Qt to use it (QT_QPA_PLATFORM, unless the user set it), so that it
// tries nothing else. On Linux:
//  - a Wayland compositor, first in a Wayland session (XDG_SESSION_TYPE)
//    or where DISPLAY is not set; workArea is its smallest output;
//  - else the X server that DISPLAY names, which completes the connection
//    handshake; workArea is the screen's area for windows;
//  - or another platform QT_QPA_PLATFORM names (offscreen, ...) that Qt
//    has a plugin for; workArea is left as it is.
// On Windows: the desktop, unless the session has none to show; workArea
// is the primary screen without the taskbar.
// Otherwise false, with display set to where the window would have opened
// ("display :1", "Wayland display wayland-0", or empty) and reason to a
// short phrase.
bool chooseDisplay(std::string& display, std::string& reason, cv::Rect& workArea);

}  // namespace speckwipe
