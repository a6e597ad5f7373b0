#pragma once
// What Windows adds around a window's inside: its title bar and borders.

#include <opencv2/core.hpp>

namespace desktop {

// The title bar and the borders of a resizable window, in screen pixels
// at the primary screen's scale (twice as large at 200 %), with 16 pixels
// to spare each way.
cv::Size framedSize();

}  // namespace desktop
