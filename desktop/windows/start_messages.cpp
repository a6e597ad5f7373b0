#include "start_messages.hpp"

namespace desktop {

// OpenCV's Win32 windows start with nothing to sift.
HeldMessages holdStartMessages() { return HeldMessages{}; }

void releaseStartMessages(HeldMessages&) {}

std::string withoutStartNoise(const std::string& text) { return text; }

}  // namespace desktop
