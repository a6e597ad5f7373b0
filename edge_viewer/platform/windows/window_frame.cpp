// OpenCV's Win32 windows: the slider in a band above the map, inside the
// window's frame.

#include "platform/window_frame.hpp"

#include <opencv2/highgui.hpp>

namespace rimtrace {

// OpenCV's Win32 window keeps its slider in a band above the map, which
// cv::resizeWindow leaves out: it sizes the map.
int windowBarsHeight() { return 0; }

// The slider's band, then the title bar and borders, with room to spare.
cv::Size windowChrome() { return cv::Size(32, 45 + 64); }

void spanSliderAcrossWindow(const std::string& window, cv::Size mapSize) {
    cv::resizeWindow(window, mapSize.width, mapSize.height);
}

}  // namespace rimtrace
