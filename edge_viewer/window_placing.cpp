#include "window_placing.hpp"

#include <opencv2/highgui.hpp>

namespace rimtrace {

namespace {

constexpr auto kUntilFramed = std::chrono::milliseconds(200);

}  // namespace

CornerPlacing placeInCorner(const std::string& window, cv::Size size, cv::Point corner) {
    cv::resizeWindow(window, size.width, size.height);
    cv::waitKey(1);  // a move before the window manager has mapped the window is lost
    cv::moveWindow(window, corner.x, corner.y);
    return {window, size, corner, true, std::chrono::steady_clock::now() + kUntilFramed};
}

void placeAgainWhenDue(CornerPlacing& placing) {
    if (!placing.again || std::chrono::steady_clock::now() < placing.againAt) return;
    placing.again = false;
    cv::resizeWindow(placing.window, placing.size.width, placing.size.height);
    cv::moveWindow(placing.window, placing.corner.x, placing.corner.y);
}

}  // namespace rimtrace
