#include "desktop/standard_streams.hpp"

#include <cerrno>
#include <iostream>

#include "stream_handles.hpp"
#include "system_reason.hpp"

namespace desktop {

bool standardStreamsUsable(StandardOutput output, std::string& reason) {
    const bool outputOpen = streamOpen(kStandardOutput);
    fillWithNullDeviceIfClosed(kStandardInput);
    fillWithNullDeviceIfClosed(kStandardError);
    if (outputOpen) return true;
    if (output == StandardOutput::unused) {
        fillWithNullDeviceIfClosed(kStandardOutput);
        return true;
    }
    reason = systemReason(EBADF);
    return false;
}

bool outputDelivered(std::string& reason) {
    errno = 0;
    if (std::cout.flush()) return true;
    reason = systemReason(errno != 0 ? errno : EIO);
    return false;
}

}  // namespace desktop
