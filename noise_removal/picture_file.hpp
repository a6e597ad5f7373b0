#pragma once
// Where speckwipe finds its picture, and loading it with a reason on failure.

#include <string>

#include <opencv2/core.hpp>

namespace speckwipe {

// Maps the program's fixed Windows path onto this file system. On Windows
// it means what it says and is kept as written. Elsewhere a drive root
// such as "C:" stands for the working directory, and '/' and '\' both
// separate folders: "C://circles.jpg" becomes "circles.jpg".
std::string localPicturePath(const std::string& fixedPath);

// Loads path as 8-bit grey. On failure returns false and sets reason to a
// short lower-case phrase on one line ("no such file", "is a directory", ...).
bool readGreyPicture(const std::string& path, cv::Mat& picture, std::string& reason);

}  // namespace speckwipe
