#pragma once
// Whether a window can open at all, and how much of the screen it may
// take. OpenCV's Qt backend aborts the whole process (with a core dump)
// when it can't reach the X server or Wayland compositor, or lacks the
// plugin for it, so the program connects first, as Qt would, and refuses
// cleanly instead. One file per system behind this header (linux/, windows/).

#include <cstddef>
#include <string>

#include <opencv2/core.hpp>

namespace desktop {

// The room windows have on the display chosen.
struct DisplayRoom {
    // The area windows may take, in window pixels: the units cv::moveWindow
    // and cv::resizeWindow take. Empty when the display tells none.
    cv::Rect workArea;
    // Screen pixels to a window pixel, on a side: 2 where Qt draws a
    // desktop at 200 %; 1 for Win32 windows, which draw in screen pixels.
    double pixelRatio = 1;
    // Address space kept from the program's start for the window system's
    // own (keepRoomForWindows), until the first window opens.
    void* keptForWindows = nullptr;
    std::size_t keptBytes = 0;
};

// Keeps address space for the window system's start, before the picture is
// loaded: as the first window opens, Qt starts threads of its own and
// loads its platform's libraries, and where a thread cannot be started
// it waits for it for good, no window shown, the program never ending. So
// where the address space is limited (ulimit -v, a container), what the
// picture needs runs out first, and the program refuses as whenever memory
// runs out. Throws std::bad_alloc where not even that much is left. Keeps
// nothing on Windows, which limits no process's address space.
DisplayRoom keepRoomForWindows();

// Gives a window showing `shown` screen pixels the room kept for it, once
// that window's own buffers are known to fit beside it; else throws
// std::bad_alloc, before any window system call that could not complete.
void giveRoomToWindow(DisplayRoom& room, cv::Size shown);

// Finds the display a window will open on and, where there is a choice,
// tells Qt to use it (QT_QPA_PLATFORM, unless the user set it), so that it
// tries nothing else. On Linux:
//  - a Wayland compositor, first in a Wayland session (XDG_SESSION_TYPE)
//    or where DISPLAY is not set; the room is its smallest output, at that
//    output's scale;
//  - else the X server that DISPLAY names, which completes the connection
//    handshake; the room is the screen's area for windows, at the scale
//    its desktop sets (Xft.dpi);
//  - or another platform QT_QPA_PLATFORM names (offscreen, ...) that Qt
//    has a plugin for; the work area is left empty.
// Either way the ratio is the one Qt will draw at, the user's QT_* scale
// settings included, and Qt is offered the icons of OpenCV's toolbar after
// the desktop's own theme.
// On Windows: the desktop, unless the session has none to show; the room
// is the primary screen without the taskbar, at ratio 1.
// Otherwise false, with display set to where the window would have opened
// ("display :1", "Wayland display wayland-0", or empty) and reason to a
// short phrase.
bool chooseDisplay(std::string& display, std::string& reason, DisplayRoom& room);

}  // namespace desktop
