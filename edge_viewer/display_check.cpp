#include "display_check.hpp"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>

namespace rimtrace {

namespace {

constexpr int kX11TcpPortBase = 6000;
constexpr int kConnectTimeoutMilliseconds = 3000;

bool connectsToUnixSocket(const std::string& path, bool abstract) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // An abstract socket's name starts with a NUL byte; X servers on Linux
    // listen on both the abstract and the file-system name.
    const std::size_t offset = abstract ? 1 : 0;
    std::memcpy(address.sun_path + offset, path.c_str(), path.size());
    const socklen_t length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    close(fd);
    return connected;
}

// Connects without blocking for longer than the timeout: a remote host that
// drops packets would otherwise hold the program for minutes.
bool connectsWithTimeout(const addrinfo* address) {
    const int fd = socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                          address->ai_protocol);
    if (fd < 0) return false;
    bool connected = connect(fd, address->ai_addr, address->ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        pollfd waiting{fd, POLLOUT, 0};
        int error = 0;
        socklen_t size = sizeof error;
        connected = poll(&waiting, 1, kConnectTimeoutMilliseconds) == 1 &&
                    getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
    }
    close(fd);
    return connected;
}

bool connectsToTcp(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
    bool connected = false;
    for (const addrinfo* a = found; a != nullptr && !connected; a = a->ai_next) {
        connected = connectsWithTimeout(a);
    }
    freeaddrinfo(found);
    return connected;
}

// DISPLAY is [host]:number[.screen]; host empty or "unix" means this machine's
// Unix socket, any other host means TCP port 6000 + number.
bool xServerAnswers(const std::string& display, std::string& reason) {
    const std::size_t colon = display.rfind(':');
    const std::string host = colon == std::string::npos ? "" : display.substr(0, colon);
    const char* digits = colon == std::string::npos ? "" : display.c_str() + colon + 1;
    char* end = nullptr;
    const long number = std::strtol(digits, &end, 10);
    if (end == digits || (*end != '\0' && *end != '.') || number < 0 || number > 65535 - kX11TcpPortBase) {
        reason = "not a valid X display name";
        return false;
    }
    const bool local = host.empty() || host == "unix";
    const std::string socketPath = "/tmp/.X11-unix/X" + std::to_string(number);
    const bool answers = local ? connectsToUnixSocket(socketPath, false) ||
                                     connectsToUnixSocket(socketPath, true)
                               : connectsToTcp(host, kX11TcpPortBase + static_cast<int>(number));
    if (!answers) reason = "no X server answers";
    return answers;
}

}  // namespace

bool displayAvailable(std::string& display, std::string& reason) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0' && std::strncmp(platform, "xcb", 3) != 0) {
        return true;
    }
    const char* value = std::getenv("DISPLAY");
    display = value == nullptr ? "" : value;
    if (display.empty()) {
        reason = "DISPLAY is not set";
        return false;
    }
    return xServerAnswers(display, reason);
}

}  // namespace rimtrace
