#pragma once
// rimtrace's standard streams: it prints nothing on a normal run, but no
// file or connection it opens may take a closed stream's place.

namespace rimtrace {

// Puts the null device on standard input, output and error where they are
// closed, so that no file or socket opened later takes their numbers:
// libxcb and Qt would then write their messages into it.
void occupyClosedStandardStreams();

// After a refusal's line: where the program's console is its own (Windows
// opens one for a double-click in Explorer and closes it the moment the
// program ends), says "Press a key to close this window" and waits for the
// key, so that the line can be read. Started from a console window, a
// script or with redirected streams, and on Linux, returns at once.
void holdOwnConsoleForReading();

}  // namespace rimtrace
