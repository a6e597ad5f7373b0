// speckwipe: removes speckle noise from a fixed picture with a 3x3 median
// filter and shows the picture before and after, each until a key is pressed.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include "median_filter.hpp"
#include "picture_file.hpp"
#include "platform/console_hold.hpp"
#include "platform/display.hpp"
#include "platform/picture_path.hpp"
#include "platform/standard_streams.hpp"
#include "platform/window_frame.hpp"
#include "window_fit.hpp"
#include "window_placing.hpp"

namespace {

const std::string kPicturePath = "C://circles.jpg";
const std::string kBeforeWindow = "my window";
const std::string kAfterWindow = "my window 2";
constexpr int kKeyPollMilliseconds = 50;

// The picture's path as the user should see it: absolute where it can be,
// and as written when it is already (the fixed path itself, on Windows).
std::string shownPath() {
    const std::string path = speckwipe::localPicturePath(kPicturePath);
    if (std::filesystem::path(path).is_absolute()) return path;
    std::error_code noWorkingDirectory;  // absolute() needs one; say the bare name then
    const std::filesystem::path shown = std::filesystem::absolute(path, noWorkingDirectory);
    return shown.empty() ? path : shown.string();
}

void sayTraceLost(const std::string& reason) {
    std::cerr << "speckwipe: cannot write the trace to standard output: " << reason << "\n";
}

// Refuses at once when standard output is closed: the trace would be lost.
bool checkStandardStreams() {
    std::string reason;
    if (speckwipe::standardStreamsUsable(reason)) return true;
    sayTraceLost(reason);
    return false;
}

// Loads the picture, or tells the user why not on stderr.
bool loadPicture(cv::Mat& picture) {
    std::string reason;
    if (speckwipe::readGreyPicture(speckwipe::localPicturePath(kPicturePath), picture, reason)) {
        return true;
    }
    std::cerr << "speckwipe: cannot read " << shownPath() << ": " << reason << "\n";
    return false;
}

// Refuses, with a line on stderr, when no window could open: OpenCV's Qt
// backend would abort the process with a core dump instead.
bool checkDisplay(speckwipe::DisplayRoom& room) {
    std::string display;
    std::string reason;
    if (speckwipe::chooseDisplay(display, reason, room)) return true;
    std::cerr << "speckwipe: cannot open a window";
    if (!display.empty()) std::cerr << " on " << display;
    std::cerr << ": " << reason << "\n";
    return false;
}

// Shows picture in a new window, one screen pixel a picture pixel at any
// desktop scale when it fits the work area with the window around it;
// otherwise scaled down to fit, its aspect kept, in the area's top-left
// corner (the toolbar's Zoom x1 gives 1:1). Returns what placing is left.
speckwipe::WindowPlacing showFitted(const std::string& window, const cv::Mat& picture,
                                    const speckwipe::DisplayRoom& room) {
    const speckwipe::WindowFit fit =
        speckwipe::fitWindow(picture.size(), room.workArea, speckwipe::windowChrome(), room.pixelRatio);
    speckwipe::WindowPlacing placing =
        speckwipe::openWindow(window, fit, speckwipe::windowBarsHeight(), room.workArea.tl());
    cv::imshow(window, picture);
    speckwipe::placeWindow(placing);
    return placing;
}

// Waits for a key in the window, or for the window to be closed, which
// counts as that key. waitKey(0) would miss the close and polls Qt every
// millisecond; short waits with sleeps between cost no measurable CPU.
void waitForKeyOrClose(speckwipe::WindowPlacing placing, const std::string& window) {
    while (speckwipe::nextKey(placing) < 0 && cv::getWindowProperty(window, cv::WND_PROP_VISIBLE) > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kKeyPollMilliseconds));
    }
}

// Sends the whole trace out before any window opens; a trace that could
// not be written (a full disk, say) ends the run, before any window.
bool deliverTrace() {
    std::string reason;
    if (speckwipe::traceDelivered(reason)) return true;
    sayTraceLost(reason);
    return false;
}

// Asks now for the memory the windows will take: Qt keeps a 3-byte colour
// copy of each whole picture, and both windows are open at the end. A
// picture too large for that is refused before the trace and any window.
void reserveWindowCopies(cv::Size picture) {
    const cv::Mat before(picture, CV_8UC3);
    const cv::Mat after(picture, CV_8UC3);
}

// Filters the picture, prints the trace, and shows both windows in turn.
bool filterAndShow(const cv::Mat& source, const speckwipe::DisplayRoom& room) {
    cv::Mat destination;
    source.copyTo(destination);
    reserveWindowCopies(source.size());
    speckwipe::medianFilter3x3(source, destination);
    if (!deliverTrace()) return false;

    waitForKeyOrClose(showFitted(kBeforeWindow, source, room), kBeforeWindow);
    waitForKeyOrClose(showFitted(kAfterWindow, destination, room), kAfterWindow);
    return true;
}

// Ends a refused run, once the user could read why.
int refused() {
    speckwipe::holdOwnConsoleForReading();
    return 1;
}

bool isOutOfMemory(const cv::Exception& error) { return error.code == cv::Error::StsNoMem; }

void sayOutOfMemory(const cv::Mat& picture) {
    std::cerr << "speckwipe: not enough memory for " << shownPath() << " (" << picture.cols << "x"
              << picture.rows << " pixels)\n";
}

}  // namespace

int main() {
    // OpenCV works on this thread alone, as the program does: its worker
    // threads (TBB's, in Debian's build) would abort the whole process
    // where one could not be started, as in a tight address space.
    cv::setNumThreads(0);
    cv::Mat source;
    speckwipe::DisplayRoom room;
    if (!checkStandardStreams() || !loadPicture(source) || !checkDisplay(room)) return refused();
    try {
        return filterAndShow(source, room) ? 0 : refused();
    } catch (const std::bad_alloc&) {
        sayOutOfMemory(source);
    } catch (const cv::Exception& error) {
        if (!isOutOfMemory(error)) throw;
        sayOutOfMemory(source);
    }
    return refused();
}
