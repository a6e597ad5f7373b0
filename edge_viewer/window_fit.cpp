#include "window_fit.hpp"

#include <algorithm>

namespace rimtrace {

cv::Size fittedSize(cv::Size picture, cv::Size room) {
    if (picture.width <= room.width && picture.height <= room.height) return picture;
    // The tighter of the two directions decides, so both fit.
    const double scale = std::min(static_cast<double>(room.width) / picture.width,
                                  static_cast<double>(room.height) / picture.height);
    return {std::max(1, static_cast<int>(picture.width * scale)),
            std::max(1, static_cast<int>(picture.height * scale))};
}

}  // namespace rimtrace
