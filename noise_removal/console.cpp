#include "console.hpp"

#include <fcntl.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cctype>
#include <cerrno>
#include <cstring>
#include <iostream>

namespace speckwipe {

namespace {

// The C runtime's numbers of the standard streams, on every system.
constexpr int kInput = 0, kOutput = 1, kError = 2;

// strerror's text with a lower-case first letter, to fit inside our line.
std::string systemReason(int error) {
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

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

// Puts the null device at stream when nothing is open there.
void fillIfClosed(int stream, int mode) {
    if (isOpen(stream)) return;
    const int opened = openNullDevice(mode);
    if (opened >= 0 && opened != stream) moveTo(opened, stream);
}

}  // namespace

bool standardStreamsUsable(std::string& reason) {
    const bool outputOpen = isOpen(kOutput);
    fillIfClosed(kInput, O_RDONLY);
    fillIfClosed(kError, O_WRONLY);
    if (outputOpen) return true;
    reason = systemReason(EBADF);
    return false;
}

bool traceDelivered(std::string& reason) {
    errno = 0;
    if (std::cout.flush()) return true;
    reason = systemReason(errno != 0 ? errno : EIO);
    return false;
}

}  // namespace speckwipe
