#include "toolbar_icons.hpp"

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "environment.hpp"

namespace desktop {

namespace {

// The XDG Base Directory specification's data folders when XDG_DATA_DIRS
// is unset or empty.
const char* const kDefaultDataFolders = "/usr/local/share:/usr/share";

// Where the icons lie: the folder the build gives, from the program's own
// (bin/../share/<project> in the build as installed); "" when it is not there.
std::string iconsDataFolder() {
    std::error_code failed;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed) return "";
    const std::filesystem::path folder =
        (program.parent_path() / TOOLBAR_ICONS_FROM_PROGRAM).lexically_normal();
    const bool present = std::filesystem::is_directory(folder / "icons" / "hicolor", failed);
    return present ? folder.string() : "";
}

bool listed(const std::string& dirs, const std::string& folder) {
    std::istringstream folders(dirs);
    for (std::string each; std::getline(folders, each, ':');) {
        if (each == folder) return true;
    }
    return false;
}

}  // namespace

std::string dataFoldersWith(const std::string& dirs, const std::string& folder) {
    const std::string given = dirs.empty() ? kDefaultDataFolders : dirs;
    return listed(given, folder) ? given : given + ":" + folder;
}

void offerToolbarIcons() {
    const std::string folder = iconsDataFolder();
    if (folder.empty()) return;
    setenv("XDG_DATA_DIRS", dataFoldersWith(environment("XDG_DATA_DIRS"), folder).c_str(), 1);
}

bool toolbarIconsOffered() {
    const std::string folder = iconsDataFolder();
    return !folder.empty() && listed(environment("XDG_DATA_DIRS"), folder);
}

}  // namespace desktop
