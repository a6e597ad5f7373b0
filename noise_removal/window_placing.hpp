#pragma once
// Opening a picture's window at the size it was fitted to, and, for a
// picture larger than the screen, in the work area's top-left corner.

#include <chrono>
#include <string>

#include <opencv2/core.hpp>

#include "window_fit.hpp"

namespace speckwipe {

// A window given its size (and maybe its place), and how many times and
// when that is done again.
struct WindowPlacing {
    std::string window;
    cv::Size view;  // the picture's part, in window pixels
    cv::Size size;  // the window's inside, its bars included
    cv::Point corner;
    bool toCorner = false;
    int timesLeft = 0;
    std::chrono::steady_clock::time_point againAt;
};

// Opens the window for a picture fitted so: sized by the picture itself
// when it shows at its own size in window pixels, else resizable, its
// size given by placeWindow.
void openWindow(const std::string& window, const WindowFit& fit);

// Gives a resizable window, picture shown, the fitted size with its bars
// (barsHeight window pixels) and moves a shrunk one to corner; a window
// that fits stays where the window manager put it. Qt may keep the window
// at its first size (400x300, Debian 13) or take a move made before the
// window manager framed it as the place of its inside, which leaves the
// title bar under a top panel; and its bars are not barsHeight high at
// every scale and style (71 window pixels, not 73, at 200 %), which would
// stretch the picture. So placeAgainWhenDue measures the picture's part
// 200 ms later, by when the frame is there, and sizes and places the
// window again by what its bars really take; once more 200 ms after that.
// Nothing to do for a window at its own size.
WindowPlacing placeWindow(const std::string& window, const WindowFit& fit, int barsHeight, cv::Point corner);

// Called on every turn of the event loop: places the window once more when
// that is due, then never again. Does nothing for a placing not made.
void placeAgainWhenDue(WindowPlacing& placing);

}  // namespace speckwipe
