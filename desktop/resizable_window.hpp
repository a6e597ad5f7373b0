#pragma once
// Opening a window the user may resize, where the window manager floats it
// at the size the program gives, as it does a fixed-size one. One file per
// system behind this header (linux/ for Qt, windows/ for OpenCV's Win32
// windows).

#include <string>

namespace desktop {

// Opens window resizable, its picture to keep its aspect; its size is the
// caller's to give. Returns a key the user pressed while it opened, or -1,
// for the caller to act on as on any other.
int openFloatingResizable(const std::string& window);

}  // namespace desktop
