// OpenCV's Win32 windows: each slider in a band above the picture, inside
// the window's frame.

#include "desktop/window_frame.hpp"

#include <opencv2/highgui.hpp>

#include "frame_size.hpp"

namespace desktop {

namespace {

// OpenCV's slider band, with room to spare: its height is fixed, not
// scaled with the screen.
constexpr int kSliderBandHeight = 45;

}  // namespace

// OpenCV's Win32 window keeps its sliders in bands above the picture, which
// cv::resizeWindow leaves out: it sizes the picture.
int windowBarsHeight(const WindowContents&) { return 0; }

// The sliders' bands, then the title bar and borders at the screen's scale.
cv::Size windowChrome(const WindowContents& contents) {
    return framedSize() + cv::Size(0, contents.sliders * kSliderBandHeight);
}

// OpenCV's Win32 windows have no toolbar.
int toolbarWidth() { return 0; }

// OpenCV sizes its Win32 window to the picture after showing it.
bool ownSizeHolds() { return false; }

void spanSlidersAcrossWindow(const std::string& window, cv::Size pictureSize) {
    cv::resizeWindow(window, pictureSize.width, pictureSize.height);
}

// Windows ties a window to its program's file.
void nameWindowsForDesktop() {}

}  // namespace desktop
