#pragma once
// What of the edge map the window shows when the picture is larger than
// the screen.

#include <opencv2/core.hpp>

namespace rimtrace {

// map (CV_8UC1, 0 or 255) shrunk to size, no larger than map: a pixel is
// white when any map pixel it covers is white, so one-pixel edges stay
// visible. Qt's own scaling samples one pixel in each and loses most of
// them. Returns map itself when size is map's size.
cv::Mat shrinkKeepingEdges(const cv::Mat& map, cv::Size size);

}  // namespace rimtrace
