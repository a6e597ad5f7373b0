// OpenCV's Win32 windows: a resizable window is placed as any other.

#include "platform/resizable_window.hpp"

#include <opencv2/highgui.hpp>

namespace rimtrace {

int openFloatingResizable(const std::string& window) {
    cv::namedWindow(window, cv::WINDOW_NORMAL | cv::WINDOW_KEEPRATIO);
    return -1;
}

}  // namespace rimtrace
