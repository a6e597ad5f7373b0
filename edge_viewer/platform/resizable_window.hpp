#pragma once
// Opening a window the user may resize, where the window manager floats it
// at the size the program gives, as it does a fixed-size one. One file per
// system behind this header (linux/ for Qt, windows/ for OpenCV's Win32
// windows).

#include <string>

namespace rimtrace {

// Opens window resizable, its picture to keep its aspect; its size is the
// caller's to give.
void openFloatingResizable(const std::string& window);

}  // namespace rimtrace
