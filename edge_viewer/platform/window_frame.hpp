#pragma once
// What a window adds around its picture on this system, for the fit of a
// picture larger than the work area. One file per system (linux/ for Qt,
// windows/ for OpenCV's Win32 windows).

#include <string>

#include <opencv2/core.hpp>

namespace rimtrace {

// The height of the bars inside the window that cv::resizeWindow counts in.
int windowBarsHeight();

// All the window adds, the window manager's frame included, with room to
// spare.
cv::Size windowChrome();

// Widens the slider of a window showing a map of mapSize to the map's
// width where the system's window would not (Win32 sizes the window by its
// slider's band); nothing where it already does (Qt).
void spanSliderAcrossWindow(const std::string& window, cv::Size mapSize);

}  // namespace rimtrace
