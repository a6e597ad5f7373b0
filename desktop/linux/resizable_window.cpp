// Qt's resizable windows on a tiling compositor.

#include "resizable_window.hpp"

#include <opencv2/highgui.hpp>

#include "environment.hpp"
#include "wayland_display.hpp"

namespace desktop {

namespace {

constexpr int kTurnsUntilSeen = 5;
constexpr int kTurnMilliseconds = 10;

int firstKey(int key, int next) { return key >= 0 ? key : next; }

// Qt draws on the Wayland compositor that chooseDisplay chose for it.
bool onWayland() { return environment("QT_QPA_PLATFORM").rfind("wayland", 0) == 0; }

}  // namespace

// A tiling Wayland compositor (sway) floats the windows of a fixed size and
// tiles the others, stretching the picture across a whole tile; it decides
// once, when the window first shows, which Qt's window does as it is
// created, before any picture, as soon as the compositor has answered it.
// So the window opens fixed and is made resizable once the compositor has
// seen it: a floating window stays floating. However slow the compositor
// is to answer, each turn of Qt's events ends with a round trip of our own
// to it, which comes back after its answers to what Qt sent in the turn:
// by the second, Qt has shown its first picture. Elsewhere the window just
// opens 50 ms later. The first key the user pressed meanwhile is returned.
int openFloatingResizable(const std::string& window) {
    cv::namedWindow(window, cv::WINDOW_AUTOSIZE);
    wl_display* compositor = onWayland() ? connectToCompositor() : nullptr;
    int key = -1;
    for (int turn = 0; turn < kTurnsUntilSeen; ++turn) {
        key = firstKey(key, cv::waitKey(kTurnMilliseconds));
        if (compositor != nullptr) roundtripWithin(compositor);
    }
    if (compositor != nullptr) wl_display_disconnect(compositor);
    cv::setWindowProperty(window, cv::WND_PROP_AUTOSIZE, cv::WINDOW_NORMAL);
    // Qt lifts the fixed size when it lays the window out again
    return firstKey(key, cv::waitKey(1));
}

}  // namespace desktop
