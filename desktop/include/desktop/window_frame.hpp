#pragma once
// What a window adds around its picture on this system, for the fit of a
// picture larger than the work area. The program says what it puts in the
// window besides the picture (its sliders); the system's files (linux/ for
// Qt, windows/ for OpenCV's Win32 windows) know what that takes.

#include <string>

#include <opencv2/core.hpp>

namespace desktop {

// What a program's window holds besides its picture.
struct WindowContents {
    int sliders = 0;  // cv::createTrackbar's sliders
};

// The height of the bars inside the window that cv::resizeWindow counts in.
int windowBarsHeight(const WindowContents& contents);

// All the window adds, the window manager's frame included, with room to
// spare.
cv::Size windowChrome(const WindowContents& contents);

// The width, in window pixels, of the window's toolbar with all its
// buttons: a window that takes a narrower picture's size would take the
// toolbar's instead, so it opens resizable, at the picture's size, its
// toolbar folding what does not fit. 0 where the window has no toolbar.
int toolbarWidth();

// Whether a window opened at its picture's size keeps that size by itself
// (Qt's fixed-size windows do). A Win32 window is sized only after it is
// shown, and under Wine an X window manager that maps it meanwhile can keep
// its first size, 320x320 with the frame: so its size is given again, as a
// resizable window's is, until it is seen to hold.
bool ownSizeHolds();

// Widens the sliders of a window showing a picture of pictureSize to the
// picture's width where the system's window would not (Win32 sizes the
// window by its slider's band); nothing where it already does (Qt).
void spanSlidersAcrossWindow(const std::string& window, cv::Size pictureSize);

// Ties the program's shown windows to its desktop entry where the window
// system names a window's program only when told (X11's WM_CLASS), so that
// the desktop shows the entry's name and icon for them; nothing where it
// knows already (a Wayland app id, the program's file on Windows).
void nameWindowsForDesktop();

}  // namespace desktop
