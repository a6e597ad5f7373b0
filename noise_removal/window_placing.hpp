#pragma once
// Where a window too large for the screen goes: the work area's top-left
// corner, at the size the picture was fitted to.

#include <chrono>
#include <string>

#include <opencv2/core.hpp>

namespace speckwipe {

// A window placed in the corner, and whether and when it is placed again.
struct CornerPlacing {
    std::string window;
    cv::Size size;  // the window's inside, its bars included
    cv::Point corner;
    bool again = false;
    std::chrono::steady_clock::time_point againAt;
};

// Gives the open window its size and moves it to the corner. Qt may keep
// the window at its first size (400x300, Debian 13) or take a move made
// before the window manager framed it as the place of its inside, which
// leaves the title bar under a top panel; placeAgainWhenDue does both
// again 200 ms later, by when the frame is there.
CornerPlacing placeInCorner(const std::string& window, cv::Size size, cv::Point corner);

// Called on every turn of the event loop: places the window once more when
// that is due, then never again. Does nothing for a placing not made.
void placeAgainWhenDue(CornerPlacing& placing);

}  // namespace speckwipe
