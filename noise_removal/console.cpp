#include "console.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <initializer_list>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <iostream>

namespace speckwipe {

namespace {

// strerror's text with a lower-case first letter, to fit inside our line.
std::string systemReason(int error) {
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

bool isOpen(int descriptor) { return fcntl(descriptor, F_GETFD) != -1; }

// Puts /dev/null at descriptor when nothing is open there.
void fillIfClosed(int descriptor, int mode) {
    if (isOpen(descriptor)) return;
    const int opened = open("/dev/null", mode);
    if (opened < 0 || opened == descriptor) return;
    dup2(opened, descriptor);
    close(opened);
}

}  // namespace

bool standardStreamsUsable(std::string& reason) {
    const bool outputOpen = isOpen(STDOUT_FILENO);
    fillIfClosed(STDIN_FILENO, O_RDONLY);
    fillIfClosed(STDERR_FILENO, O_WRONLY);
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
