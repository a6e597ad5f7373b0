#include "standard_streams.hpp"

#include <cerrno>
#include <iostream>

#include "stream_handles.hpp"
#include "system_reason.hpp"

namespace speckwipe {

bool standardStreamsUsable(std::string& reason) {
    const bool outputOpen = streamOpen(kStandardOutput);
    fillWithNullDeviceIfClosed(kStandardInput);
    fillWithNullDeviceIfClosed(kStandardError);
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
