#include "wayland_display.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <thread>

#include "display_patience.hpp"
#include "environment.hpp"
#include "qt_plugins.hpp"
#include "wayland_outputs.hpp"

namespace desktop {

namespace {

// The socket libwayland-client connects to: WAYLAND_DISPLAY as a path when
// absolute, else that name (default wayland-0) in XDG_RUNTIME_DIR.
std::string socketPath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    const std::string folder = environment("XDG_RUNTIME_DIR");
    return folder.empty() ? "" : folder + "/" + name;
}

// Connects to the compositor's socket, waiting at most kDisplayPatience while its
// queue of waiting connections is full (a busy or hung compositor), where
// a blocking connect() would wait for ever. Returns the socket, or -1 with
// queueFull telling whether that wait was in vain.
int connectWithin(const std::string& path, bool& queueFull) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    queueFull = false;
    if (path.size() >= sizeof address.sun_path) return -1;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    const auto deadline = std::chrono::steady_clock::now() + kDisplayPatience;
    int result = -1;
    while ((result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address)) != 0 &&
           errno == EAGAIN && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(kDisplayRetryInterval);
    }
    if (result != 0) {
        queueFull = errno == EAGAIN;
        close(fd);
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);  // libwayland expects a blocking socket
    return fd;
}

void markDone(void* done, wl_callback*, std::uint32_t) { *static_cast<bool*>(done) = true; }
const wl_callback_listener kDoneListener = {markDone};

}  // namespace

bool roundtripWithin(wl_display* display) {
    bool done = false;
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &kDoneListener, &done);
    const auto deadline = std::chrono::steady_clock::now() + kDisplayPatience;
    bool failed = false;
    while (!done && !failed) {
        while (wl_display_prepare_read(display) != 0) wl_display_dispatch_pending(display);
        wl_display_flush(display);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd input{wl_display_get_fd(display), POLLIN, 0};
        if (left.count() <= 0 || poll(&input, 1, int(left.count())) != 1) {
            wl_display_cancel_read(display);
            failed = true;
        } else {
            failed = wl_display_read_events(display) != 0 || wl_display_dispatch_pending(display) < 0;
        }
    }
    wl_callback_destroy(callback);
    return done;
}

wl_display* connectToCompositor() {
    const std::string name = environment("WAYLAND_DISPLAY");
    bool queueFull = false;
    const std::string path = socketPath(name.empty() ? "wayland-0" : name);
    const int socket = path.empty() ? -1 : connectWithin(path, queueFull);
    wl_display* display = socket < 0 ? nullptr : wl_display_connect_to_fd(socket);
    if (display == nullptr && socket >= 0) close(socket);
    return display;
}

bool waylandCompositorNamed() {
    std::error_code ignored;
    return !environment("WAYLAND_DISPLAY").empty() ||
           std::filesystem::exists(socketPath("wayland-0"), ignored);
}

bool waylandAvailable(std::string& place, std::string& reason, cv::Rect& outputArea, int& outputScale) {
    place = environment("WAYLAND_DISPLAY").empty() ? "wayland-0" : environment("WAYLAND_DISPLAY");
    const std::string path = socketPath(place);
    bool queueFull = false;
    const int socket = path.empty() ? -1 : connectWithin(path, queueFull);
    wl_display* display = socket < 0 ? nullptr : wl_display_connect_to_fd(socket);
    if (display == nullptr) {
        if (socket >= 0) close(socket);
        reason = path.empty() ? "XDG_RUNTIME_DIR is not set"
                 : queueFull  ? "the compositor at " + path + " takes no new connections"
                              : "no compositor answers at " + path;
        return false;
    }
    const bool answered = readOutputs(display, outputArea, outputScale);
    wl_display_disconnect(display);
    if (!answered) {
        reason = "the compositor at " + path + " does not answer";
        return false;
    }
    if (!qtPlatformPluginPresent("wayland")) {
        reason = "Qt's Wayland plugin is not installed (Debian package qtwayland5)";
        return false;
    }
    return true;
}

}  // namespace desktop
