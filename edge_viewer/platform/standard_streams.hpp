#pragma once
// rimtrace's standard streams: it prints nothing on a normal run, but no
// file or connection it opens may take a closed stream's place.

namespace rimtrace {

// Puts the null device on standard input, output and error where they are
// closed, so that no file or socket opened later takes their numbers:
// libxcb and Qt would then write their messages into it.
void occupyClosedStandardStreams();

}  // namespace rimtrace
