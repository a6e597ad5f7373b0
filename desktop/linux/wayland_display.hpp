#pragma once
// Whether a window can open on a Wayland compositor. Qt's Wayland plugin
// aborts the whole process when it can't connect, and Qt aborts when the
// plugin itself is missing, so the program connects first, through
// libwayland-client as Qt does, and refuses cleanly instead.

#include <wayland-client.h>

#include <string>

#include <opencv2/core.hpp>

namespace desktop {

// True when the compositor that WAYLAND_DISPLAY names (default wayland-0,
// in XDG_RUNTIME_DIR) answers and Qt has its Wayland plugin; then
// outputArea is the smallest output's size in the compositor's logical
// pixels (empty if it tells none) and outputScale its scale. Otherwise
// false, with reason set to a short phrase. place is the display's name
// either way.
bool waylandAvailable(std::string& place, std::string& reason, cv::Rect& outputArea, int& outputScale);

// Whether there is a compositor to try: WAYLAND_DISPLAY is set, or the
// default socket (wayland-0 in XDG_RUNTIME_DIR) is there.
bool waylandCompositorNamed();

// A connection of our own to the compositor WAYLAND_DISPLAY names, the
// one Qt uses; nullptr when none answers. wl_display_disconnect ends it.
wl_display* connectToCompositor();

// wl_display_roundtrip, but giving up (false) after kDisplayPatience instead of
// waiting for ever on a compositor that accepted us and then hung.
bool roundtripWithin(wl_display* display);

}  // namespace desktop
