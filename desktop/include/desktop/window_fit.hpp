#pragma once
// How large a picture shows: at its own size, one screen pixel a picture
// pixel, unless it is larger than the screen.

#include <opencv2/core.hpp>

namespace desktop {

// The largest size of the same aspect as picture that fits in room; picture
// itself when it fits already. Never below 1x1.
cv::Size fittedSize(cv::Size picture, cv::Size room);

// A picture's window, fitted to the work area.
struct WindowFit {
    cv::Size shown;  // the picture as drawn, in screen pixels
    cv::Size view;   // the window's picture area, in window pixels
    bool shrunk;     // shown is smaller than the picture
};

// Fits a picture into workArea (window pixels; empty when unknown) less
// chrome, what the window adds around the picture, on a screen of
// pixelRatio screen pixels to a window pixel. The fit counts in screen
// pixels, so that a picture that fits is drawn one screen pixel a pixel
// whatever the desktop's scale: at 200 % its view is half as many window
// pixels on a side.
WindowFit fitWindow(cv::Size picture, const cv::Rect& workArea, cv::Size chrome, double pixelRatio);

// Whether the window takes the picture's own size by itself: drawn as is,
// one window pixel a picture pixel.
bool atOwnSize(const WindowFit& fit);

}  // namespace desktop
