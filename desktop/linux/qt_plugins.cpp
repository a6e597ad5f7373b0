#include "qt_plugins.hpp"

#include <link.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

#include "environment.hpp"

namespace desktop {

namespace {

// The folder of the Qt core library loaded with the program, or "".
int noteQtCore(dl_phdr_info* info, std::size_t, void* folder) {
    const std::filesystem::path path = info->dlpi_name == nullptr ? "" : info->dlpi_name;
    if (path.filename().string().rfind("libQt5Core.so", 0) != 0) return 0;
    *static_cast<std::filesystem::path*>(folder) = path.parent_path();
    return 1;
}

// The folders where Qt looks for its platform plugins.
std::vector<std::filesystem::path> pluginFolders() {
    std::vector<std::filesystem::path> folders;
    if (!environment("QT_QPA_PLATFORM_PLUGIN_PATH").empty()) {
        folders.emplace_back(environment("QT_QPA_PLATFORM_PLUGIN_PATH"));
    }
    std::istringstream pluginPath(environment("QT_PLUGIN_PATH"));
    for (std::string folder; std::getline(pluginPath, folder, ':');) {
        if (!folder.empty()) folders.push_back(std::filesystem::path(folder) / "platforms");
    }
    std::filesystem::path qtLibrary;
    dl_iterate_phdr(noteQtCore, &qtLibrary);
    if (!qtLibrary.empty()) folders.push_back(qtLibrary / "qt5" / "plugins" / "platforms");
    return folders;
}

}  // namespace

bool qtPlatformPluginPresent(const std::string& name) {
    // Qt's own plugins are named after the platform, but for "wayland".
    const std::string file = name == "wayland" ? "libqwayland-generic.so" : "libq" + name + ".so";
    const std::vector<std::filesystem::path> folders = pluginFolders();
    if (folders.empty()) return true;
    std::error_code ignored;
    for (const std::filesystem::path& folder : folders) {
        if (std::filesystem::exists(folder / file, ignored)) return true;
    }
    return false;
}

// setenv's last argument 0 keeps a value the user set.
void skipUnusedPlugins() {
    setenv("QT_XCB_GL_INTEGRATION", "none", 0);
    // A priority of 0 takes a backend off OpenCV's list; one the user
    // ranked or named keeps it there.
    if (environment("OPENCV_UI_BACKEND").empty() && environment("OPENCV_UI_PRIORITY_LIST").empty()) {
        setenv("OPENCV_UI_PRIORITY_GTK", "0", 0);
        setenv("OPENCV_UI_PRIORITY_GTK3", "0", 0);
    }
}

}  // namespace desktop
