#pragma once
// The outputs of a Wayland compositor, and the room a window has on them.

#include <wayland-client.h>

#include <opencv2/core.hpp>

namespace desktop {

// Asks the compositor for its outputs; outputArea is then the smallest
// one's size in the compositor's logical pixels (its mode, turned as the
// output is, divided by its scale), empty when it tells none, and
// outputScale its scale (2 at 200 %). A window may open on any output.
// False when the compositor stops answering (for 5 s) or ends the
// connection meanwhile.
bool readOutputs(wl_display* display, cv::Rect& outputArea, int& outputScale);

}  // namespace desktop
