// Qt's resizable windows on a tiling compositor.

#include "platform/resizable_window.hpp"

#include <opencv2/highgui.hpp>

namespace speckwipe {

namespace {

constexpr int kTurnsUntilSeen = 5;
constexpr int kTurnMilliseconds = 10;

int firstKey(int key, int next) { return key >= 0 ? key : next; }

}  // namespace

// A tiling Wayland compositor (sway) floats the windows of a fixed size and
// tiles the others, stretching the picture across a whole tile; it decides
// once, when the window first shows, which Qt's window does as it is
// created, before any picture. So the window opens fixed and is made
// resizable once the compositor has seen it: a floating window stays
// floating. Elsewhere the window just opens 50 ms later.
// The first key the user pressed meanwhile is returned, not dropped.
int openFloatingResizable(const std::string& window) {
    cv::namedWindow(window, cv::WINDOW_AUTOSIZE);
    int key = -1;
    for (int turn = 0; turn < kTurnsUntilSeen; ++turn) key = firstKey(key, cv::waitKey(kTurnMilliseconds));
    cv::setWindowProperty(window, cv::WND_PROP_AUTOSIZE, cv::WINDOW_NORMAL);
    // Qt lifts the fixed size when it lays the window out again
    return firstKey(key, cv::waitKey(1));
}

}  // namespace speckwipe
