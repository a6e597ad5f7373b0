#include "console.hpp"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <initializer_list>

namespace rimtrace {

namespace {

// The C runtime's numbers of the standard streams, on every system.
constexpr int kInput = 0, kOutput = 1, kError = 2;

#ifdef _WIN32
// On Windows a stream that is not there has no handle behind its number.
bool isOpen(int stream) { return _get_osfhandle(stream) >= 0; }
int openNullDevice(int mode) { return _open("NUL", mode); }
void moveTo(int opened, int stream) { _dup2(opened, stream); _close(opened); }
#else
bool isOpen(int stream) { return fcntl(stream, F_GETFD) != -1; }
int openNullDevice(int mode) { return open("/dev/null", mode); }
void moveTo(int opened, int stream) { dup2(opened, stream); close(opened); }
#endif

}  // namespace

void occupyClosedStandardStreams() {
    for (int stream : {kInput, kOutput, kError}) {
        if (isOpen(stream)) continue;
        const int opened = openNullDevice(stream == kInput ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != stream) moveTo(opened, stream);
    }
}

}  // namespace rimtrace
