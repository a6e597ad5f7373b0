// rimtrace: shows a live black-and-white edge map of a fixed picture. A
// pixel is white when the range of its 3x3 neighbourhood reaches the
// slider's threshold; Esc ends the program.

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include "display_check.hpp"
#include "edge_map.hpp"
#include "picture_file.hpp"

namespace {

const std::string kPicturePath = R"(C:\vantrel.jpg)";
const std::string kWindow = "my window";
const std::string kSlider = "threshhold";
constexpr int kSliderMax = 255;
constexpr int kStartThreshold = 100;
constexpr int kRefreshMilliseconds = 33;
constexpr int kEscKey = 27;

// Loads the picture, or tells the user why not on stderr.
bool loadPicture(cv::Mat& picture) {
    const std::string path = rimtrace::localPicturePath(kPicturePath);
    std::string reason;
    if (rimtrace::readGreyPicture(path, picture, reason)) return true;
    std::error_code noWorkingDirectory;  // absolute() needs one; say the bare name then
    const std::filesystem::path shown = std::filesystem::absolute(path, noWorkingDirectory);
    std::cerr << "rimtrace: cannot read " << (shown.empty() ? path : shown.string()) << ": "
              << reason << "\n";
    return false;
}

// Refuses, with a line on stderr, when no window could open: OpenCV's Qt
// backend would abort the process with a core dump instead.
bool checkDisplay() {
    std::string display;
    std::string reason;
    if (rimtrace::displayAvailable(display, reason)) return true;
    std::cerr << "rimtrace: cannot open a window";
    if (!display.empty()) std::cerr << " on display " << display;
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

bool isEscape(int key) { return (key & 0xFF) == kEscKey; }

}  // namespace

int main() {
    cv::Mat source;
    if (!loadPicture(source) || !checkDisplay()) return 1;

    int threshold = kStartThreshold;
    cv::namedWindow(kWindow, cv::WINDOW_AUTOSIZE);
    addThresholdSlider(threshold);

    for (;;) {
        cv::imshow(kWindow, buildEdgeMap(source, threshold));
        if (isEscape(cv::waitKey(kRefreshMilliseconds))) break;
    }
    return 0;
}
