// OpenCV's Win32 windows: the slider in a band above the map, inside the
// window's frame.

#include "platform/window_frame.hpp"

#include <opencv2/highgui.hpp>

#include "frame_size.hpp"

namespace rimtrace {

namespace {

// OpenCV's slider band, with room to spare: its height is fixed, not
// scaled with the screen.
constexpr int kSliderBandHeight = 45;

}  // namespace

// OpenCV's Win32 window keeps its slider in a band above the map, which
// cv::resizeWindow leaves out: it sizes the map.
int windowBarsHeight() { return 0; }

// The slider's band, then the title bar and borders at the screen's scale.
cv::Size windowChrome() { return framedSize() + cv::Size(0, kSliderBandHeight); }

void spanSliderAcrossWindow(const std::string& window, cv::Size mapSize) {
    cv::resizeWindow(window, mapSize.width, mapSize.height);
}

}  // namespace rimtrace
