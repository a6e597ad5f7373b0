// Qt's windows: a toolbar above the picture, the sliders between them, a
// status bar below.

#include "desktop/window_frame.hpp"

#include <climits>
#include <filesystem>

#include "environment.hpp"
#include "toolbar_icons.hpp"
#include "x11_display.hpp"

namespace desktop {

namespace {

// Qt's toolbar and status bar, and each slider, which cv::resizeWindow
// counts in the window's height.
constexpr int kQtBarsHeight = 48;
constexpr int kQtSliderHeight = 25;

// The window manager's borders and title bar, with room to spare.
constexpr int kWindowManagerFrameWidth = 32;
constexpr int kWindowManagerFrameHeight = 64;

// Qt's toolbar of icons, eleven buttons 24 pixels wide, and its margins
// (381 window pixels, measured), with room to spare. Without icons, its
// buttons show their text, in a width that depends on the font: any.
constexpr int kQtIconToolbarWidth = 400;
constexpr int kQtTextToolbarWidth = INT_MAX;

}  // namespace

int toolbarWidth() { return toolbarIconsOffered() ? kQtIconToolbarWidth : kQtTextToolbarWidth; }

int windowBarsHeight(const WindowContents& contents) {
    return kQtBarsHeight + contents.sliders * kQtSliderHeight;
}

// The bars, then the window manager's title bar and borders.
cv::Size windowChrome(const WindowContents& contents) {
    return cv::Size(kWindowManagerFrameWidth, windowBarsHeight(contents) + kWindowManagerFrameHeight);
}

// Qt fixes the size of a window that takes its picture's.
bool ownSizeHolds() { return true; }

// Qt's sliders span the window already.
void spanSlidersAcrossWindow(const std::string&, cv::Size) {}

// Qt's Wayland windows carry the program file's name as their app id; X
// windows get the same name, which is also their menu entry's.
void nameWindowsForDesktop() {
    if (environment("QT_QPA_PLATFORM").rfind("xcb", 0) != 0) return;
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed) nameXWindowsOf(program.filename().string());
}

}  // namespace desktop
