#pragma once
// Opening a window the user may resize, where the window manager floats it
// at the size the program gives, as it does a fixed-size one. One file per
// system behind this header (linux/ for Qt, windows/ for OpenCV's Win32
// windows).

#include <string>

#include <opencv2/core.hpp>

namespace rimtrace {

// Opens window resizable, its picture to keep its aspect, for a picture
// view window pixels large.
void openFloatingResizable(const std::string& window, cv::Size view);

}  // namespace rimtrace
