#pragma once
// Whether a window can open on a Wayland compositor. Qt's Wayland plugin
// aborts the whole process when it can't connect, and Qt aborts when the
// plugin itself is missing, so the program connects first, through
// libwayland-client as Qt does, and refuses cleanly instead.

#include <string>

#include <opencv2/core.hpp>

namespace speckwipe {

// True when the compositor that WAYLAND_DISPLAY names (default wayland-0,
// in XDG_RUNTIME_DIR) answers and Qt has its Wayland plugin; then
// outputArea is the smallest output's size in the compositor's logical
// pixels (empty if it tells none). Otherwise false, with reason set to a
// short phrase. place is the display's name either way.
bool waylandAvailable(std::string& place, std::string& reason, cv::Rect& outputArea);

// Whether there is a compositor to try: WAYLAND_DISPLAY is set, or the
// default socket (wayland-0 in XDG_RUNTIME_DIR) is there.
bool waylandCompositorNamed();

// Whether Qt has a platform plugin for name (xcb, wayland, offscreen, ...),
// looked for where Qt looks: QT_QPA_PLATFORM_PLUGIN_PATH, QT_PLUGIN_PATH's
// folders, and the plugin folder beside the Qt library the program loaded.
// True too when that library can't be found: then nothing is known.
bool qtPlatformPluginPresent(const std::string& name);

}  // namespace speckwipe
