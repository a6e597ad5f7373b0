#include "console.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <initializer_list>

namespace rimtrace {

void occupyClosedStandardStreams() {
    for (int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(stream, F_GETFD) != -1) continue;
        const int opened = open("/dev/null", stream == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (opened < 0 || opened == stream) continue;
        dup2(opened, stream);
        close(opened);
    }
}

}  // namespace rimtrace
