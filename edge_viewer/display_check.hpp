#pragma once
// Whether a window can open at all, where, and how much of the screen it
// may take. OpenCV's Qt backend aborts the whole process (with a core dump)
// when it can't reach the X server or Wayland compositor, or lacks the
// plugin for it, so the program connects first, through libxcb or
// libwayland-client as Qt does (authorization included), and refuses
// cleanly instead.

#include <string>

#include <opencv2/core.hpp>

namespace rimtrace {

// True when Qt will find a display, and then tells Qt which one it is
// (QT_QPA_PLATFORM, unless the user set it) so that it tries nothing else:
//  - a Wayland compositor, first in a Wayland session (XDG_SESSION_TYPE)
//    or where DISPLAY is not set; workArea is its smallest output;
//  - else the X server that DISPLAY names, which completes the connection
//    handshake; workArea is the screen's area for windows;
//  - or another platform QT_QPA_PLATFORM names (offscreen, ...) that Qt
//    has a plugin for; workArea is left as it is.
// Otherwise false, with display set to where the window would have opened
// ("display :1", "Wayland display wayland-0", or empty) and reason to a
// short phrase.
bool displayAvailable(std::string& display, std::string& reason, cv::Rect& workArea);

// What a window adds around its picture on this platform, for the fit of
// a picture larger than the work area: the height of the bars inside the
// window that cv::resizeWindow counts in, and all the window adds, the
// window manager's frame included, with room to spare.
int windowBarsHeight();
cv::Size windowChrome();

// Once the window shows a map of mapSize with its slider: on Windows, sizes
// the window to the map again, which stretches the slider's band, made as
// wide as the window was before the map, across the whole window (the map
// shown first and the slider added after would cut the map's bottom rows
// instead). Qt lays its window out itself: nothing to do there.
void spanSliderAcrossWindow(const std::string& window, cv::Size mapSize);

}  // namespace rimtrace
