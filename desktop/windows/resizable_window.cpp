// OpenCV's Win32 windows: a resizable window is placed as any other.

#include "resizable_window.hpp"

#include <opencv2/highgui.hpp>

namespace desktop {

int openFloatingResizable(const std::string& window) {
    cv::namedWindow(window, cv::WINDOW_NORMAL | cv::WINDOW_KEEPRATIO);
    return -1;
}

}  // namespace desktop
