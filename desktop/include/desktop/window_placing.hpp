#pragma once
// Opening a picture's window at the size it was fitted to, and, for a
// picture larger than the screen, in the work area's top-left corner.

#include <chrono>
#include <string>

#include <opencv2/core.hpp>

#include "desktop/display.hpp"
#include "desktop/window_fit.hpp"
#include "desktop/window_frame.hpp"

namespace desktop {

// A window given its size (and maybe its place), how many times and when
// that is done again, and a key read meanwhile that the program has yet to
// act on.
struct WindowPlacing {
    std::string window;
    cv::Size view;  // the picture's part, in window pixels
    cv::Size size;  // the window's inside, its bars included
    cv::Point corner;
    bool toCorner = false;
    bool resizable = false;
    int timesLeft = 0;
    int timesSeenRight = 0;
    std::chrono::steady_clock::time_point againAt;
    int key = -1;
    bool named = false;  // tied to the program's desktop entry
};

// Opens the window for a picture fitted so: sized by the picture itself
// when it shows at its own size in window pixels, else resizable, its
// size given by placeWindow with the bars that the system's window and
// contents take, a shrunk picture's window moved to the work area's
// corner. Gives the window the room kept for it (giveRoomToWindow) first.
WindowPlacing openWindow(const std::string& window, const WindowFit& fit, const WindowContents& contents,
                         DisplayRoom& room);

// Gives a resizable window, picture shown, its fitted size and moves a
// shrunk one to its corner; a window that fits stays where the window
// manager put it. Qt may keep the window at its first size (400x300,
// Debian 13) or take a move made before the window manager framed it as
// the place of its inside, which leaves the title bar under a top panel;
// and its bars are not as high as assumed at every scale and style (2
// window pixels lower at 200 % with a slider), which would stretch the
// picture. So nextKey measures the picture's part every 200 ms and sizes
// and places the window again by what its bars really take, until it has
// seen the part at its size twice (3 s at most: a busy machine maps a
// window late). Nothing to do for a window at its own size where that size
// holds by itself (ownSizeHolds).
void placeWindow(WindowPlacing& placing);

// The event loop's look at the window: places it again when that is due,
// then returns the key pressed since the last look, or -1. A key read
// while the window was opened or placed comes first: none is lost.
int nextKey(WindowPlacing& placing);

}  // namespace desktop
