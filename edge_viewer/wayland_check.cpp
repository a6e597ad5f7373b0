#include "wayland_check.hpp"

#include <fcntl.h>
#include <link.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

namespace rimtrace {

namespace {

// How long a compositor may take to accept us and to answer.
constexpr auto kPatience = std::chrono::seconds(5);

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

// The socket libwayland-client connects to: WAYLAND_DISPLAY as a path when
// absolute, else that name (default wayland-0) in XDG_RUNTIME_DIR.
std::string socketPath(const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    const std::string folder = environment("XDG_RUNTIME_DIR");
    return folder.empty() ? "" : folder + "/" + name;
}

// Connects to the compositor's socket, waiting at most kPatience while its
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
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    int result = -1;
    while ((result = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address)) != 0 &&
           errno == EAGAIN && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
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

// wl_display_roundtrip, but giving up after kPatience instead of waiting
// for ever on a compositor that accepted us and then hung.
bool roundtripWithin(wl_display* display) {
    bool done = false;
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &kDoneListener, &done);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
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

// What an output tells of itself: its current mode, turned as the output
// is (a quarter turn swaps width and height), and its scale.
struct OutputSize {
    int width = 0;
    int height = 0;
    int scale = 1;
    bool turned = false;
};

void noteGeometry(void* data, wl_output*, int, int, int, int, int, const char*, const char*,
                  int transform) {
    static_cast<OutputSize*>(data)->turned = transform % 2 == 1;  // 90 and 270, flipped or not
}
void noteMode(void* data, wl_output*, std::uint32_t flags, int width, int height, int) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    static_cast<OutputSize*>(data)->width = width;
    static_cast<OutputSize*>(data)->height = height;
}
void ignoreDone(void*, wl_output*) {}
void noteScale(void* data, wl_output*, int scale) {
    static_cast<OutputSize*>(data)->scale = scale > 0 ? scale : 1;
}
// Filled by name: newer libwayland versions add events at the end, which
// stay empty, as the version bound asks for none of them.
const wl_output_listener kOutputListener = [] {
    wl_output_listener listener{};
    listener.geometry = noteGeometry;
    listener.mode = noteMode;
    listener.done = ignoreDone;
    listener.scale = noteScale;
    return listener;
}();

struct Outputs {
    std::vector<wl_output*> proxies;
    std::vector<OutputSize> sizes;
};

void bindOutput(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                std::uint32_t version) {
    if (std::strcmp(interface, wl_output_interface.name) != 0) return;
    auto& outputs = *static_cast<Outputs*>(data);
    outputs.proxies.push_back(static_cast<wl_output*>(
        wl_registry_bind(registry, name, &wl_output_interface, version < 2 ? version : 2)));
}
void ignoreRemoval(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {bindOutput, ignoreRemoval};

// The smallest output's size in logical pixels: a window may open on any.
cv::Rect smallestOutput(const std::vector<OutputSize>& sizes) {
    cv::Rect smallest;
    for (const OutputSize& size : sizes) {
        cv::Size logical(size.width / size.scale, size.height / size.scale);
        if (size.turned) logical = cv::Size(logical.height, logical.width);
        if (logical.area() > 0 && (smallest.empty() || logical.area() < smallest.area())) {
            smallest = cv::Rect(cv::Point(), logical);
        }
    }
    return smallest;
}

// Asks the compositor for its outputs and their sizes. False when it
// stops answering or ends the connection meanwhile.
bool readOutputs(wl_display* display, cv::Rect& outputArea) {
    Outputs outputs;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &outputs);
    bool answered = roundtripWithin(display);
    outputs.sizes.resize(outputs.proxies.size());
    for (std::size_t i = 0; i < outputs.proxies.size(); ++i) {
        wl_output_add_listener(outputs.proxies[i], &kOutputListener, &outputs.sizes[i]);
    }
    answered = answered && roundtripWithin(display);
    for (wl_output* output : outputs.proxies) wl_output_destroy(output);
    wl_registry_destroy(registry);
    if (answered) outputArea = smallestOutput(outputs.sizes);
    return answered;
}

// The folder of the Qt core library loaded with the program, or "".
int noteQtCore(dl_phdr_info* info, std::size_t, void* folder) {
    const std::filesystem::path path = info->dlpi_name == nullptr ? "" : info->dlpi_name;
    if (path.filename().string().rfind("libQt5Core.so", 0) != 0) return 0;
    *static_cast<std::filesystem::path*>(folder) = path.parent_path();
    return 1;
}

// The folders where Qt looks for its platform plugins.
std::vector<std::filesystem::path> pluginFolders() {
    std::vector<std::filesystem::path> folders;
    if (!environment("QT_QPA_PLATFORM_PLUGIN_PATH").empty()) {
        folders.emplace_back(environment("QT_QPA_PLATFORM_PLUGIN_PATH"));
    }
    std::istringstream pluginPath(environment("QT_PLUGIN_PATH"));
    for (std::string folder; std::getline(pluginPath, folder, ':');) {
        if (!folder.empty()) folders.push_back(std::filesystem::path(folder) / "platforms");
    }
    std::filesystem::path qtLibrary;
    dl_iterate_phdr(noteQtCore, &qtLibrary);
    if (!qtLibrary.empty()) folders.push_back(qtLibrary / "qt5" / "plugins" / "platforms");
    return folders;
}

}  // namespace

bool qtPlatformPluginPresent(const std::string& name) {
    // Qt's own plugins are named after the platform, but for "wayland".
    const std::string file = name == "wayland" ? "libqwayland-generic.so" : "libq" + name + ".so";
    const std::vector<std::filesystem::path> folders = pluginFolders();
    if (folders.empty()) return true;
    std::error_code ignored;
    for (const std::filesystem::path& folder : folders) {
        if (std::filesystem::exists(folder / file, ignored)) return true;
    }
    return false;
}

bool waylandCompositorNamed() {
    std::error_code ignored;
    return !environment("WAYLAND_DISPLAY").empty() ||
           std::filesystem::exists(socketPath("wayland-0"), ignored);
}

bool waylandAvailable(std::string& place, std::string& reason, cv::Rect& outputArea) {
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
    const bool answered = readOutputs(display, outputArea);
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

}  // namespace rimtrace
