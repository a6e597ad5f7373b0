#pragma once
// The X server a window would open on, reached through libxcb as Qt does.

#include <string>

#include <opencv2/core.hpp>

namespace desktop {

// Connects to the X server that DISPLAY names, waiting at most 5 s for it;
// workArea is then the screen's area for windows in screen pixels (the
// window manager's _NET_WORKAREA, else the whole screen), and dpiScale the
// scale the desktop asks for (Xft.dpi / 96: 2 at 200 %). Otherwise false,
// with reason set to a short phrase ("no X server answers", the server's
// own refusal, ...).
bool xServerAnswers(std::string& reason, cv::Rect& workArea, double& dpiScale);

// Gives this process's shown windows that lack one a WM_CLASS naming
// `program`, by which GNOME matches its desktop entry, and names the entry
// for KWin (_KDE_NET_WM_DESKTOP_FILE).
void nameXWindowsOf(const std::string& program);

}  // namespace desktop
