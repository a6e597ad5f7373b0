#include "stream_handles.hpp"

#include <fcntl.h>
#include <unistd.h>

namespace desktop {

bool streamOpen(int stream) { return fcntl(stream, F_GETFD) != -1; }

void fillWithNullDeviceIfClosed(int stream) {
    if (streamOpen(stream)) return;
    const int opened = open("/dev/null", stream == kStandardInput ? O_RDONLY : O_WRONLY);
    if (opened < 0 || opened == stream) return;
    dup2(opened, stream);
    close(opened);
}

}  // namespace desktop
