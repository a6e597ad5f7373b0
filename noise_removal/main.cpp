// speckwipe: removes speckle noise from a fixed picture with a 3x3 median
// filter and shows the picture before and after, each until a key is pressed.

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

#include "display_check.hpp"
#include "median_filter.hpp"
#include "picture_file.hpp"

namespace {

const std::string kPicturePath = "C://circles.jpg";
const std::string kBeforeWindow = "my window";
const std::string kAfterWindow = "my window 2";
constexpr int kWaitForever = 0;

// Loads the picture, or tells the user why not on stderr.
bool loadPicture(cv::Mat& picture) {
    const std::string path = speckwipe::localPicturePath(kPicturePath);
    std::string reason;
    if (speckwipe::readGreyPicture(path, picture, reason)) return true;
    std::error_code noWorkingDirectory;  // absolute() needs one; say the bare name then
    const std::filesystem::path shown = std::filesystem::absolute(path, noWorkingDirectory);
    std::cerr << "speckwipe: cannot read " << (shown.empty() ? path : shown.string()) << ": "
              << reason << "\n";
    return false;
}

// Refuses, with a line on stderr, when no window could open: OpenCV's Qt
// backend would abort the process with a core dump instead.
bool checkDisplay() {
    std::string display;
    std::string reason;
    if (speckwipe::displayAvailable(display, reason)) return true;
    std::cerr << "speckwipe: cannot open a window";
    if (!display.empty()) std::cerr << " on display " << display;
    std::cerr << ": " << reason << "\n";
    return false;
}

void showAndWait(const std::string& window, const cv::Mat& picture) {
    cv::namedWindow(window, cv::WINDOW_AUTOSIZE);
    cv::imshow(window, picture);
    cv::waitKey(kWaitForever);
}

}  // namespace

int main() {
    cv::Mat source;
    if (!loadPicture(source) || !checkDisplay()) return 1;

    cv::Mat destination;
    source.copyTo(destination);
    medianFilter3x3(source, destination);
    std::cout.flush();  // the whole trace is out before any window opens

    showAndWait(kBeforeWindow, source);
    showAndWait(kAfterWindow, destination);
    return 0;
}
