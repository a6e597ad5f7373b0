#pragma once
// Loading speckwipe's picture, with a reason on failure. Where the picture
// is, on each system, is platform/picture_path.hpp's.

#include <string>

#include <opencv2/core.hpp>

namespace speckwipe {

// Loads path as 8-bit grey. On failure returns false and sets reason to a
// short lower-case phrase on one line ("no such file", "is a directory", ...).
bool readGreyPicture(const std::string& path, cv::Mat& picture, std::string& reason);

}  // namespace speckwipe
