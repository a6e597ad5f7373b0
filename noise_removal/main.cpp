// speckwipe: removes speckle noise from a fixed picture with a 3x3 median
// filter and shows the picture before and after, each until a key is pressed.

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
#include "median_filter.hpp"

namespace {

const desktop::Program kProgram{"speckwipe", "C://circles.jpg", "the trace"};
const std::string kBeforeWindow = "my window";
const std::string kAfterWindow = "my window 2";
const desktop::WindowContents kPictureAlone{};
constexpr int kKeyPollMilliseconds = 10;

// Shows picture in a new window, one screen pixel a picture pixel at any
// desktop scale when it fits the work area with the window around it;
// otherwise scaled down to fit, its aspect kept, in the area's top-left
// corner (the toolbar's Zoom x1 gives 1:1). Returns what placing is left.
desktop::WindowPlacing showFitted(const std::string& window, const cv::Mat& picture,
                                  desktop::DisplayRoom& room) {
    const desktop::WindowFit fit =
        desktop::fitWindow(picture.size(), room.workArea, desktop::windowChrome(kPictureAlone), room.pixelRatio);
    desktop::WindowPlacing placing = desktop::openWindow(window, fit, kPictureAlone, room);
    cv::imshow(window, picture);
    desktop::placeWindow(placing);
    return placing;
}

// Waits for a key in the window, or for the window to be closed, which
// counts as that key. waitKey(0) would miss the close and polls Qt every
// millisecond; a look every 10 ms costs a quarter of that, and sees a key
// soon enough that the second window opens no later than after waitKey(0).
void waitForKeyOrClose(desktop::WindowPlacing placing, const std::string& window) {
    while (desktop::nextKey(placing) < 0 && cv::getWindowProperty(window, cv::WND_PROP_VISIBLE) > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kKeyPollMilliseconds));
    }
}

// Asks now for the memory the windows will take: Qt keeps a 3-byte colour
// copy of each whole picture, and both windows are open at the end. A
// picture too large for that is refused before the trace and any window.
void reserveWindowCopies(cv::Size picture) {
    const cv::Mat before(picture, CV_8UC3);
    const cv::Mat after(picture, CV_8UC3);
}

// Filters the picture, prints the trace, and shows both windows in turn.
// The whole trace goes out before any window opens; one that could not be
// written (a full disk, say) ends the run there.
bool filterAndShow(const cv::Mat& source, desktop::DisplayRoom& room) {
    cv::Mat destination;
    source.copyTo(destination);
    reserveWindowCopies(source.size());
    speckwipe::medianFilter3x3(source, destination);
    if (!desktop::deliverOutput(kProgram)) return false;

    waitForKeyOrClose(showFitted(kBeforeWindow, source, room), kBeforeWindow);
    waitForKeyOrClose(showFitted(kAfterWindow, destination, room), kAfterWindow);
    return true;
}

// Refuses at once where the trace could not be written, the picture not
// read or no window opened; then filters and shows. The window system's
// room is kept first, so that a picture too large for the memory left is
// refused rather than the window's start failing.
int removeSpeckle(cv::Mat& source) {
    desktop::DisplayRoom room = desktop::keepRoomForWindows();
    if (!desktop::checkStandardStreams(kProgram) || !desktop::loadPicture(kProgram, source) ||
        !desktop::checkDisplay(kProgram, room)) {
        return desktop::refused();
    }
    return filterAndShow(source, room) ? 0 : desktop::refused();
}

}  // namespace

int main() {
    // OpenCV works on this thread alone, as the program does: its worker
    // threads (TBB's, in Debian's build) would abort the whole process
    // where one could not be started, as in a tight address space.
    cv::setNumThreads(0);
    cv::Mat source;
    return desktop::refuseWhereMemoryRunsOut(kProgram, source, [&] { return removeSpeckle(source); });
}
