// Qt's windows: a toolbar and the slider above the map, a status bar below.

#include "platform/window_frame.hpp"

namespace rimtrace {

namespace {

// Qt's toolbar, the slider and the status bar, which cv::resizeWindow counts in the window's height.
constexpr int kQtBarsHeight = 73;

}  // namespace

int windowBarsHeight() { return kQtBarsHeight; }

// The bars, then the window manager's title bar and borders.
cv::Size windowChrome() { return cv::Size(32, kQtBarsHeight + 64); }

// Qt's slider spans the window already.
void spanSliderAcrossWindow(const std::string&, cv::Size) {}

}  // namespace rimtrace
