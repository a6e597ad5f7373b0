#pragma once
// The system's reason for a failed call, worded to sit inside our lines.

#include <string>

namespace desktop {

// strerror's text with a lower-case first letter ("no space left on
// device"), and "no such file" for ENOENT.
std::string systemReason(int error);

}  // namespace desktop
