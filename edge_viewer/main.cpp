// rimtrace: shows a live black-and-white edge map of a fixed picture. A
// pixel is white when the range of its 3x3 neighbourhood reaches the
// slider's threshold; Esc ends the program.

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include "desktop/display.hpp"
#include "desktop/refusal.hpp"
#include "desktop/window_fit.hpp"
#include "desktop/window_frame.hpp"
#include "desktop/window_placing.hpp"
#include "map_view.hpp"

namespace {

using Clock = std::chrono::steady_clock;

const desktop::Program kProgram{"rimtrace", R"(C:\vantrel.jpg)", ""};
const std::string kWindow = "my window";
const std::string kSlider = "threshhold";
const desktop::WindowContents kMapAndSlider{1};
constexpr int kSliderMax = 255;
constexpr int kStartThreshold = 100;
constexpr std::chrono::milliseconds kRefreshPeriod(33);
constexpr int kEscKey = 27;

// The slider's change callback: the library calls it, inside waitKey, with
// the new position; userData is the threshold it drives.
void storeThreshold(int position, void* userData) { *static_cast<int*>(userData) = position; }

// Binds the slider to threshold through the callback (OpenCV 4 warns about
// a bound value pointer) and puts it at threshold's start value.
void addThresholdSlider(int& threshold) {
    cv::createTrackbar(kSlider, kWindow, nullptr, kSliderMax, storeThreshold, &threshold);
    cv::setTrackbarPos(kSlider, kWindow, threshold);
}

bool isEscape(int key) { return (key & 0xFF) == kEscKey; }

// Closing the window ends the program as Esc does.
bool windowClosed() { return cv::getWindowProperty(kWindow, cv::WND_PROP_VISIBLE) <= 0; }

// One look at the window's events: keys, slider moves, a closed window,
// and the paint of a map just shown. Whether the user ended the program.
bool lookEnds(desktop::WindowPlacing& placing) { return isEscape(desktop::nextKey(placing)) || windowClosed(); }

// Opens the window with its slider on the first map, then redraws the map
// whenever the slider has moved, until Esc or the window is closed.
void showLiveMap(const cv::Mat& source, desktop::DisplayRoom& room) {
    // The map shows one screen pixel a picture pixel at any desktop scale;
    // a picture larger than the work area shows shrunk, at its corner. The
    // first map is made before the window opens, so that a picture too
    // large for the memory left is refused without a window.
    const desktop::WindowFit fit =
        desktop::fitWindow(source.size(), room.workArea, desktop::windowChrome(kMapAndSlider), room.pixelRatio);
    const rimtrace::MapView view = rimtrace::prepareMapView(source, fit.shown);
    int threshold = kStartThreshold;
    int shownThreshold = threshold;
    cv::Mat firstView = rimtrace::mapViewAt(view, source, shownThreshold);
    desktop::WindowPlacing placing = desktop::openWindow(kWindow, fit, kMapAndSlider, room);
    addThresholdSlider(threshold);
    cv::imshow(kWindow, firstView);
    if (desktop::atOwnSize(fit)) desktop::spanSlidersAcrossWindow(kWindow, fit.shown);
    firstView.release();  // Qt keeps its own copy; the next map may need the room
    desktop::placeWindow(placing);

    // Each refresh looks at the window's events first, so that it decides
    // on the slider's latest position, moves made while the last map was
    // painted included; then it computes and draws the map only when the
    // slider has moved (an unchanged map would cost a third of a core on a
    // large picture), and paints it at once, in a second look. Refreshes
    // start kRefreshPeriod apart, the work and the paint included (at once
    // when they took longer), so a drag shows a map every period while the
    // work fits in it. Between them the program sleeps: waitKey(33) would
    // poll Qt every millisecond, about 2.5 % of a core at rest.
    for (Clock::time_point refresh = Clock::now();;) {
        if (lookEnds(placing)) return;
        if (threshold != shownThreshold) {
            shownThreshold = threshold;
            cv::imshow(kWindow, rimtrace::mapViewAt(view, source, shownThreshold));
            if (lookEnds(placing)) return;
        }
        refresh = std::max(refresh + kRefreshPeriod, Clock::now());
        std::this_thread::sleep_until(refresh);
    }
}

// Refuses at once where the picture could not be read or no window
// opened; then shows the live map until the user ends it. The window
// system's room is kept first, so that a picture too large for the memory
// left is refused rather than the window's start failing.
int traceRims(cv::Mat& source) {
    desktop::DisplayRoom room = desktop::keepRoomForWindows();
    if (!desktop::checkStandardStreams(kProgram) || !desktop::loadPicture(kProgram, source) ||
        !desktop::checkDisplay(kProgram, room)) {
        return desktop::refused();
    }
    showLiveMap(source, room);
    return 0;
}

}  // namespace

int main() {
    // OpenCV works on this thread alone, as the program does: its worker
    // threads (TBB's, in Debian's build) would abort the whole process
    // where one could not be started, as in a tight address space.
    cv::setNumThreads(0);
    cv::Mat source;
    return desktop::refuseWhereMemoryRunsOut(kProgram, source, [&] { return traceRims(source); });
}
