#include "desktop/window_placing.hpp"

#include <cstdlib>

#include <opencv2/highgui.hpp>

#include "resizable_window.hpp"
#include "start_messages.hpp"

namespace desktop {

namespace {

constexpr auto kUntilFramed = std::chrono::milliseconds(200);
constexpr int kTimesAgainAtMost = 15;
constexpr int kTimesSeenRightEnough = 2;
constexpr int kBarsErrorAtMost = 16;

// Keeps the first key the user pressed until the loop takes it.
void keep(WindowPlacing& placing, int key) {
    if (placing.key < 0) placing.key = key;
}

void place(WindowPlacing& placing) {
    cv::resizeWindow(placing.window, placing.size.width, placing.size.height);
    if (!placing.toCorner) return;
    keep(placing, cv::waitKey(1));  // a move before the window manager has mapped the window is lost
    cv::moveWindow(placing.window, placing.corner.x, placing.corner.y);
}

// A few window pixels of height more or less in the picture's part are the
// bars' error, which the window's inside takes back; a window still at its
// first size (Qt on Debian 13), or not yet mapped, is far off, and only
// sized again. Placing ends once the part has been seen right often enough.
void placeAgain(WindowPlacing& placing) {
    --placing.timesLeft;
    placing.againAt += kUntilFramed;
    const cv::Rect shown = cv::getWindowImageRect(placing.window);
    const int barsError = shown.height - placing.view.height;
    if (std::abs(barsError) <= kBarsErrorAtMost) placing.size.height -= barsError;
    if (shown.size() == placing.view && ++placing.timesSeenRight == kTimesSeenRightEnough) placing.timesLeft = 0;
    place(placing);
}

// Opens the window fixed at its picture's size, or resizable: keeping the
// aspect of a shrunk picture, else floating at the size it will be given.
void openAsPlaced(WindowPlacing& placing, bool shrunk) {
    if (!placing.resizable) {
        cv::namedWindow(placing.window, cv::WINDOW_AUTOSIZE);
    } else if (shrunk) {
        cv::namedWindow(placing.window, cv::WINDOW_NORMAL | cv::WINDOW_KEEPRATIO);
    } else {
        keep(placing, openFloatingResizable(placing.window));
    }
}

}  // namespace

// A window that would not take the picture's size by itself (scaled, or
// narrower than its toolbar) is sized by placeWindow. A shrunk picture's
// window is resizable from the start: a Wayland compositor places a window
// by its first size, the bars alone, and one that then grew as tall as the
// screen would run off it; sway tiles it instead. A picture that fits
// needs its window floating at the size given, as a fixed-size one would be.
WindowPlacing openWindow(const std::string& window, const WindowFit& fit, const WindowContents& contents,
                         DisplayRoom& room) {
    giveRoomToWindow(room, fit.shown);
    WindowPlacing placing;
    placing.window = window;
    placing.view = fit.view;
    placing.size = cv::Size(fit.view.width, fit.view.height + windowBarsHeight(contents));
    placing.corner = room.workArea.tl();
    placing.toCorner = fit.shrunk;
    placing.resizable = !atOwnSize(fit) || fit.view.width < toolbarWidth();
    HeldMessages held = holdStartMessages();
    try {
        openAsPlaced(placing, fit.shrunk);
    } catch (...) {
        releaseStartMessages(held);  // the refusal that follows must reach stderr
        throw;
    }
    releaseStartMessages(held);
    return placing;
}

void placeWindow(WindowPlacing& placing) {
    if (!placing.resizable && ownSizeHolds()) return;
    placing.timesLeft = kTimesAgainAtMost;
    placing.againAt = std::chrono::steady_clock::now() + kUntilFramed;
    place(placing);
}

int nextKey(WindowPlacing& placing) {
    if (placing.timesLeft > 0 && std::chrono::steady_clock::now() >= placing.againAt) placeAgain(placing);
    const int key = placing.key >= 0 ? placing.key : cv::waitKey(1);
    placing.key = -1;
    // by now Qt has sent the window to the window system
    if (!placing.named) nameWindowsForDesktop();
    placing.named = true;
    return key;
}

}  // namespace desktop
