#pragma once
// What a window adds around its picture on this system, for the fit of a
// picture larger than the work area. One file per system (linux/ for Qt,
// windows/ for OpenCV's Win32 windows).

#include <opencv2/core.hpp>

namespace speckwipe {

// The height of the bars inside the window that cv::resizeWindow counts in.
int windowBarsHeight();

// All the window adds, the window manager's frame included, with room to
// spare.
cv::Size windowChrome();

}  // namespace speckwipe
