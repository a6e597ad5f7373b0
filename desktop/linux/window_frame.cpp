// Qt's windows: a toolbar above the picture, the sliders between them, a
// status bar below.

#include "desktop/window_frame.hpp"

namespace desktop {

namespace {

// Qt's toolbar and status bar, and each slider, which cv::resizeWindow
// counts in the window's height.
constexpr int kQtBarsHeight = 48;
constexpr int kQtSliderHeight = 25;

// The window manager's borders and title bar, with room to spare.
constexpr int kWindowManagerFrameWidth = 32;
constexpr int kWindowManagerFrameHeight = 64;

}  // namespace

int windowBarsHeight(const WindowContents& contents) {
    return kQtBarsHeight + contents.sliders * kQtSliderHeight;
}

// The bars, then the window manager's title bar and borders.
cv::Size windowChrome(const WindowContents& contents) {
    return cv::Size(kWindowManagerFrameWidth, windowBarsHeight(contents) + kWindowManagerFrameHeight);
}

// Qt's sliders span the window already.
void spanSlidersAcrossWindow(const std::string&, cv::Size) {}

}  // namespace desktop
