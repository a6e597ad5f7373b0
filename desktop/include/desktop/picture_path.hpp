#pragma once
// Where the program's fixed Windows path points on this system.

#include <string>

namespace desktop {

// Maps the program's fixed Windows path onto this file system. On Windows
// it means what it says and is kept as written. Elsewhere a drive root
// such as "C:" stands for the working directory, and '/' and '\' both
// separate folders: "C://picture.jpg" becomes "picture.jpg".
std::string localPicturePath(const std::string& fixedPath);

}  // namespace desktop
