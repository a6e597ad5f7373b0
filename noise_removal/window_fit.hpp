#pragma once
// How large a picture shows when it is larger than the screen.

#include <opencv2/core.hpp>

namespace speckwipe {

// The largest size of the same aspect as picture that fits in room; picture
// itself when it fits already. Never below 1x1.
cv::Size fittedSize(cv::Size picture, cv::Size room);

}  // namespace speckwipe
