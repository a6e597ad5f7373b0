#pragma once
// speckwipe's standard streams: the trace must reach standard output, and
// no file or connection the program opens may take a closed stream's place.

#include <string>

namespace speckwipe {

// Puts the null device on standard input and standard error where they are
// closed, so that no file or socket opened later takes their numbers:
// libxcb and Qt would then write their messages into it. False, with the
// system's reason, when standard output is closed: the trace has nowhere
// to go.
bool standardStreamsUsable(std::string& reason);

// Flushes std::cout. False, with the system's reason ("no space left on
// device", ...), when what was written to it did not all reach standard
// output.
bool traceDelivered(std::string& reason);

}  // namespace speckwipe
