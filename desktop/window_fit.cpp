#include "desktop/window_fit.hpp"

#include <algorithm>
#include <cmath>

namespace desktop {

cv::Size fittedSize(cv::Size picture, cv::Size room) {
    if (picture.width <= room.width && picture.height <= room.height) return picture;
    // The tighter of the two directions decides, so both fit, and takes the
    // room's whole length; the other is rounded down. In whole numbers: a
    // scale in floating point can make 910.99999 rows, and lose one.
    const long long across = static_cast<long long>(room.width) * picture.height;
    const long long down = static_cast<long long>(room.height) * picture.width;
    if (across <= down) {
        return {room.width, std::max(1, static_cast<int>(across / picture.width))};
    }
    return {std::max(1, static_cast<int>(down / picture.height)), room.height};
}

namespace {

// A size in screen pixels in window pixels, to the nearest, never below 1.
cv::Size inWindowPixels(cv::Size screen, double pixelRatio) {
    return {std::max(1, static_cast<int>(std::lround(screen.width / pixelRatio))),
            std::max(1, static_cast<int>(std::lround(screen.height / pixelRatio)))};
}

}  // namespace

WindowFit fitWindow(cv::Size picture, const cv::Rect& workArea, cv::Size chrome, double pixelRatio) {
    const cv::Size room = workArea.size() - chrome;
    const cv::Size screenRoom(static_cast<int>(room.width * pixelRatio),
                              static_cast<int>(room.height * pixelRatio));
    const cv::Size shown = workArea.empty() ? picture : fittedSize(picture, screenRoom);
    return {shown, inWindowPixels(shown, pixelRatio), shown != picture};
}

bool atOwnSize(const WindowFit& fit) { return !fit.shrunk && fit.view == fit.shown; }

}  // namespace desktop
