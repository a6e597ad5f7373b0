// The toolbar's icons are offered to Qt after every data folder the
// desktop names, or after the specification's default ones, and once.

#include <gtest/gtest.h>

#include "linux/toolbar_icons.hpp"

using desktop::dataFoldersWith;

TEST(ToolbarIcons, ComeAfterTheDesktopsOwnFolders) {
    EXPECT_EQ(dataFoldersWith("/usr/share/gnome:/usr/share", "/opt/x/share/p"),
              "/usr/share/gnome:/usr/share:/opt/x/share/p");
    EXPECT_EQ(dataFoldersWith("", "/usr/share/p"), "/usr/local/share:/usr/share:/usr/share/p");
}

TEST(ToolbarIcons, AreOfferedOnce) {
    EXPECT_EQ(dataFoldersWith("/usr/share:/usr/share/p", "/usr/share/p"), "/usr/share:/usr/share/p");
    EXPECT_EQ(dataFoldersWith("/usr/share/p:/usr/share", "/usr/share/p"), "/usr/share/p:/usr/share");
}
