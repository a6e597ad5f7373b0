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

// After a refusal's line: where the program's console is its own (Windows
// opens one for a double-click in Explorer and closes it the moment the
// program ends), says "Press a key to close this window" and waits for the
// key, so that the line can be read. Started from a console window, a
// script or with redirected streams, and on Linux, returns at once.
void holdOwnConsoleForReading();

}  // namespace speckwipe
