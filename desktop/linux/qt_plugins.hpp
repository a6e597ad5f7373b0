#pragma once
// Which platform plugins Qt will find: Qt aborts the whole process when the
// one it is asked for is missing. And which plugins the windows never use,
// left out of the start.

#include <string>

namespace desktop {

// Whether Qt has a platform plugin for name (xcb, wayland, offscreen, ...),
// looked for where Qt looks: QT_QPA_PLATFORM_PLUGIN_PATH, QT_PLUGIN_PATH's
// folders, and the plugin folder beside the Qt library the program loaded.
// True too when that library can't be found: then nothing is known.
bool qtPlatformPluginPresent(const std::string& name);

// Leaves out of the start, before Qt starts, the plugins no window of ours
// uses, each unless the user chose otherwise in the environment: Qt's
// OpenGL integration for X (QT_XCB_GL_INTEGRATION=none; it loads Mesa's
// GLX and software renderer, some 90 ms, for windows drawn without
// OpenGL), and OpenCV's search for GTK window plugins (it reads the whole
// library folder twice, about 10 ms) before its built-in Qt windows.
void skipUnusedPlugins();

}  // namespace desktop
