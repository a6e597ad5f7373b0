// rimtrace: shows a live black-and-white edge map of a fixed picture. A
// pixel is white when the range of its 3x3 neighbourhood reaches the
// slider's threshold; Esc ends the program.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <thread>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include "map_view.hpp"
#include "picture_file.hpp"
#include "platform/console_hold.hpp"
#include "platform/display.hpp"
#include "platform/picture_path.hpp"
#include "platform/standard_streams.hpp"
#include "platform/window_frame.hpp"
#include "window_fit.hpp"
#include "window_placing.hpp"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kPicturePath = R"(C:\vantrel.jpg)";
const std::string kWindow = "my window";
const std::string kSlider = "threshhold";
constexpr int kSliderMax = 255;
constexpr int kStartThreshold = 100;
constexpr std::chrono::milliseconds kRefreshPeriod(33);
constexpr int kEscKey = 27;

// The picture's path as the user should see it: absolute where it can be,
// and as written when it is already (the fixed path itself, on Windows).
std::string shownPath() {
    const std::string path = rimtrace::localPicturePath(kPicturePath);
    if (std::filesystem::path(path).is_absolute()) return path;
    std::error_code noWorkingDirectory;  // absolute() needs one; say the bare name then
    const std::filesystem::path shown = std::filesystem::absolute(path, noWorkingDirectory);
    return shown.empty() ? path : shown.string();
}

// Loads the picture, or tells the user why not on stderr.
bool loadPicture(cv::Mat& picture) {
    std::string reason;
    if (rimtrace::readGreyPicture(rimtrace::localPicturePath(kPicturePath), picture, reason)) {
        return true;
    }
    std::cerr << "rimtrace: cannot read " << shownPath() << ": " << reason << "\n";
    return false;
}

// Refuses, with a line on stderr, when no window could open: OpenCV's Qt
// backend would abort the process with a core dump instead.
bool checkDisplay(rimtrace::DisplayRoom& room) {
    std::string display;
    std::string reason;
    if (rimtrace::chooseDisplay(display, reason, room)) return true;
    std::cerr << "rimtrace: cannot open a window";
    if (!display.empty()) std::cerr << " on " << display;
    std::cerr << ": " << reason << "\n";
    return false;
}

// The slider's change callback: the library calls it, inside waitKey, with
// the new position; userData is the threshold it drives.
void storeThreshold(int position, void* userData) { *static_cast<int*>(userData) = position; }

// Binds the slider to threshold through the callback (OpenCV 4 warns about
// a bound value pointer) and puts it at threshold's start value.
void addThresholdSlider(int& threshold) {
    cv::createTrackbar(kSlider, kWindow, nullptr, kSliderMax, storeThreshold, &threshold);
    cv::setTrackbarPos(kSlider, kWindow, threshold);
}

// Waits for a key until due, the next refresh's time; -1 when none came.
// One look at the window's events comes first, however late it is: keys,
// slider moves and the last map's paint are handled there. waitKey(33)
// itself polls Qt every millisecond, about 2.5 % of a core at rest; one
// look and a sleep for the rest cost a tenth of that, and keys and slider
// moves still show by the next refresh.
int waitForKey(rimtrace::WindowPlacing& placing, Clock::time_point due) {
    const int key = rimtrace::nextKey(placing);
    if (key < 0) std::this_thread::sleep_until(due);
    return key;
}

bool isEscape(int key) { return (key & 0xFF) == kEscKey; }

// Closing the window ends the program as Esc does.
bool windowClosed() { return cv::getWindowProperty(kWindow, cv::WND_PROP_VISIBLE) <= 0; }

// Opens the window with its slider on the first map, then redraws the map
// whenever the slider has moved, until Esc or the window is closed.
void showLiveMap(const cv::Mat& source, const rimtrace::DisplayRoom& room) {
    // The map shows one screen pixel a picture pixel at any desktop scale;
    // a picture larger than the work area shows shrunk, at its corner. The
    // first map is made before the window opens, so that a picture too
    // large for the memory left is refused without a window.
    const rimtrace::WindowFit fit =
        rimtrace::fitWindow(source.size(), room.workArea, rimtrace::windowChrome(), room.pixelRatio);
    const rimtrace::MapView view = rimtrace::prepareMapView(source, fit.shown);
    int threshold = kStartThreshold;
    int shownThreshold = threshold;
    cv::Mat firstView = rimtrace::mapViewAt(view, source, shownThreshold);
    rimtrace::WindowPlacing placing =
        rimtrace::openWindow(kWindow, fit, rimtrace::windowBarsHeight(), room.workArea.tl());
    addThresholdSlider(threshold);
    cv::imshow(kWindow, firstView);
    if (rimtrace::atOwnSize(fit)) rimtrace::spanSliderAcrossWindow(kWindow, fit.shown);
    firstView.release();  // Qt keeps its own copy; the next map may need the room
    rimtrace::placeWindow(placing);

    // The map is computed and drawn again only when the slider has moved:
    // an unchanged map would cost a third of a core on a large picture.
    // A refresh starts kRefreshPeriod after the one before, the time it took
    // to compute and paint included (at once when that took longer), so
    // that a drag shows a map every period while the work fits in it.
    for (Clock::time_point refresh = Clock::now();;) {
        if (isEscape(waitForKey(placing, refresh + kRefreshPeriod)) || windowClosed()) return;
        refresh = Clock::now();
        if (threshold != shownThreshold) {
            shownThreshold = threshold;
            cv::imshow(kWindow, rimtrace::mapViewAt(view, source, shownThreshold));
        }
    }
}

// Ends a refused run, once the user could read why.
int refused() {
    rimtrace::holdOwnConsoleForReading();
    return 1;
}

bool isOutOfMemory(const cv::Exception& error) { return error.code == cv::Error::StsNoMem; }

void sayOutOfMemory(const cv::Mat& picture) {
    std::cerr << "rimtrace: not enough memory for " << shownPath() << " (" << picture.cols << "x"
              << picture.rows << " pixels)\n";
}

}  // namespace

int main() {
    // OpenCV works on this thread alone, as the program does: its worker
    // threads (TBB's, in Debian's build) would abort the whole process
    // where one could not be started, as in a tight address space.
    cv::setNumThreads(0);
    rimtrace::occupyClosedStandardStreams();
    cv::Mat source;
    rimtrace::DisplayRoom room;
    if (!loadPicture(source) || !checkDisplay(room)) return refused();
    try {
        showLiveMap(source, room);
        return 0;
    } catch (const std::bad_alloc&) {
        sayOutOfMemory(source);
    } catch (const cv::Exception& error) {
        if (!isOutOfMemory(error)) throw;
        sayOutOfMemory(source);
    }
    return refused();
}
