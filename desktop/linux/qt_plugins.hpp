#pragma once
// Which platform plugins Qt will find: Qt aborts the whole process when the
// one it is asked for is missing.

#include <string>

namespace desktop {

// Whether Qt has a platform plugin for name (xcb, wayland, offscreen, ...),
// looked for where Qt looks: QT_QPA_PLATFORM_PLUGIN_PATH, QT_PLUGIN_PATH's
// folders, and the plugin folder beside the Qt library the program loaded.
// True too when that library can't be found: then nothing is known.
bool qtPlatformPluginPresent(const std::string& name);

}  // namespace desktop
