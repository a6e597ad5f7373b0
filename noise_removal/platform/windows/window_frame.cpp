// OpenCV's Win32 windows: the picture alone inside the window's frame.

#include "platform/window_frame.hpp"

#include "frame_size.hpp"

namespace speckwipe {

// OpenCV's Win32 windows have no bars: cv::resizeWindow sizes the picture.
int windowBarsHeight() { return 0; }

// The title bar and borders at the screen's scale, with room to spare.
cv::Size windowChrome() { return framedSize(); }

}  // namespace speckwipe
