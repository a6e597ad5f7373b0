#pragma once
// The icons of OpenCV's Qt toolbar, for desktops whose icon theme has none.
// Qt asks the desktop's theme for them by name (zoom-in, document-save, ...)
// and shows a button's text where the theme has no icon: a toolbar some
// 1,400 pixels wide, which a window that takes its picture's size takes
// instead. The build draws them into a theme of their own beside the
// program (share/<project>/icons/hicolor, as installed), which Qt reads
// after every folder the desktop gives it, so a theme that has them keeps
// its own.

#include <string>

namespace desktop {

// XDG_DATA_DIRS's value dirs (empty when unset: the specification's
// default) with folder after all its own, once.
std::string dataFoldersWith(const std::string& dirs, const std::string& folder);

// Offers Qt the toolbar's icons, before it starts: puts their folder last in
// XDG_DATA_DIRS. Nothing where the program has no such folder beside it.
void offerToolbarIcons();

// Whether Qt will find an icon for each of the toolbar's buttons: the
// icons were offered.
bool toolbarIconsOffered();

}  // namespace desktop
