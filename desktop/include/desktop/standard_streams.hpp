#pragma once
// The standard streams: what a program writes to standard output must get
// there, and no file or connection the program opens may take a closed
// stream's place.

#include <string>

namespace desktop {

// Whether the program writes to standard output.
enum class StandardOutput { unused, written };

// Puts the null device on the standard streams that are closed, so that no
// file or socket opened later takes their numbers: libxcb and Qt would then
// write their messages into it. A program that writes to standard output
// gets false instead, with the system's reason, when it is closed: what it
// writes would have nowhere to go.
bool standardStreamsUsable(StandardOutput output, std::string& reason);

// Flushes std::cout. False, with the system's reason ("no space left on
// device", ...), when what was written to it did not all reach standard
// output.
bool outputDelivered(std::string& reason);

}  // namespace desktop
