#include "window_placing.hpp"

#include <cstdlib>

#include <opencv2/highgui.hpp>

#include "platform/resizable_window.hpp"

namespace rimtrace {

namespace {

constexpr auto kUntilFramed = std::chrono::milliseconds(200);
constexpr int kTimesAgain = 2;
constexpr int kBarsErrorAtMost = 16;

void place(const WindowPlacing& placing) {
    cv::resizeWindow(placing.window, placing.size.width, placing.size.height);
    if (!placing.toCorner) return;
    cv::waitKey(1);  // a move before the window manager has mapped the window is lost
    cv::moveWindow(placing.window, placing.corner.x, placing.corner.y);
}

}  // namespace

// A shrunk picture's window is resizable from the start: a Wayland
// compositor places a window by its first size, the bars alone, and one
// that then grew as tall as the screen would run off it; sway tiles it
// instead. A picture that fits, at a scale above 1, needs its window
// floating at the size given, as a fixed-size one would be.
void openWindow(const std::string& window, const WindowFit& fit) {
    if (atOwnSize(fit)) {
        cv::namedWindow(window, cv::WINDOW_AUTOSIZE);
    } else if (fit.shrunk) {
        cv::namedWindow(window, cv::WINDOW_NORMAL | cv::WINDOW_KEEPRATIO);
    } else {
        openFloatingResizable(window);
    }
}

WindowPlacing placeWindow(const std::string& window, const WindowFit& fit, int barsHeight, cv::Point corner) {
    if (atOwnSize(fit)) return {};
    const cv::Size size(fit.view.width, fit.view.height + barsHeight);
    const WindowPlacing placing{window, fit.view, size, corner, fit.shrunk, kTimesAgain,
                                std::chrono::steady_clock::now() + kUntilFramed};
    place(placing);
    return placing;
}

void placeAgainWhenDue(WindowPlacing& placing) {
    if (placing.timesLeft == 0 || std::chrono::steady_clock::now() < placing.againAt) return;
    --placing.timesLeft;
    placing.againAt += kUntilFramed;
    // A few window pixels of height more or less in the picture's part are
    // the bars' error, which the window's inside takes back; a window still
    // at its first size (Qt on Debian 13) is far off, and only sized again.
    const cv::Rect shown = cv::getWindowImageRect(placing.window);
    const int barsError = shown.height - placing.view.height;
    if (std::abs(barsError) <= kBarsErrorAtMost) placing.size.height -= barsError;
    place(placing);
}

}  // namespace rimtrace
