#include "standard_streams.hpp"

#include <initializer_list>

#include "stream_handles.hpp"

namespace rimtrace {

void occupyClosedStandardStreams() {
    for (int stream : {kStandardInput, kStandardOutput, kStandardError}) {
        fillWithNullDeviceIfClosed(stream);
    }
}

}  // namespace rimtrace
