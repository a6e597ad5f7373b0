// Qt's windows: a toolbar above the picture and a status bar below it.

#include "platform/window_frame.hpp"

namespace speckwipe {

namespace {

// Qt's toolbar and status bar, which cv::resizeWindow counts in the window's height.
constexpr int kQtBarsHeight = 48;

}  // namespace

int windowBarsHeight() { return kQtBarsHeight; }

// The bars, then the window manager's title bar and borders.
cv::Size windowChrome() { return cv::Size(32, kQtBarsHeight + 64); }

}  // namespace speckwipe
