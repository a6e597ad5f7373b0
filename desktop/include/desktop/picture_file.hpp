#pragma once
// Loading a program's picture, with a reason on failure. Where the picture
// is, on each system, is picture_path.hpp's.

#include <string>

#include <opencv2/core.hpp>

namespace desktop {

// Loads path as 8-bit grey. On failure returns false and sets reason to a
// short lower-case phrase on one line ("no such file", "is a directory", ...).
// Memory running out while decoding is no reason of the file's: it passes
// through, as std::bad_alloc or OpenCV's out-of-memory error.
bool readGreyPicture(const std::string& path, cv::Mat& picture, std::string& reason);

}  // namespace desktop
