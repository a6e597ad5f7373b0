#include "stream_handles.hpp"

#include <fcntl.h>
#include <io.h>

namespace desktop {

// On Windows a stream that is not there has no handle behind its number.
bool streamOpen(int stream) { return _get_osfhandle(stream) >= 0; }

void fillWithNullDeviceIfClosed(int stream) {
    if (streamOpen(stream)) return;
    const int opened = _open("NUL", stream == kStandardInput ? O_RDONLY : O_WRONLY);
    if (opened < 0 || opened == stream) return;
    _dup2(opened, stream);
    _close(opened);
}

}  // namespace desktop
