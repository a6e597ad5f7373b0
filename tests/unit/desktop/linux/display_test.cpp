// The display check on Linux, against X servers and Wayland compositors of
// the tests' own: a slow X server is waited for, and the
// timer that limits the wait is gone once the check returns; a Wayland
// compositor that is missing, never answers or takes no new connections is
// refused, in bounded time and only once that time is up; a slow one is
// waited for, and a large picture is fitted to its smallest output.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wayland-server.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <opencv2/core.hpp>

#include "desktop/display.hpp"
#include "linux/qt_plugins.hpp"
#include "linux/qt_scale.hpp"
#include "start_messages.hpp"

using namespace desktop;

// A listening socket at the abstract address libxcb tries first for
// display :number, or -1 when that address is taken. A backlog of 0 holds
// one waiting connection; the next connect() blocks until one is accepted.
int listenAsDisplay(int number) {
    const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    if (bind(server, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(server, 0) != 0) {
        close(server);
        return -1;
    }
    const int filler = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    connect(filler, reinterpret_cast<sockaddr*>(&address), length);  // fills the backlog
    return server;
}

// A server that takes its time: after `delay` it accepts the waiting
// connections and refuses the client with `refusal`, as X servers do in
// their connection setup reply (status 0, the reason's length, protocol
// 11.0, then the reason in 4-byte units).
void answerLate(int server, std::chrono::milliseconds delay, const std::string& refusal) {
    std::this_thread::sleep_for(delay);
    close(accept(server, nullptr, nullptr));  // the filler
    pollfd waiting{server, POLLIN, 0};
    if (poll(&waiting, 1, 5000) != 1) return;  // the client gave up already
    const int client = accept(server, nullptr, nullptr);
    char request[256];
    (void)!read(client, request, sizeof request);
    std::string reply(8, '\0');
    reply[1] = static_cast<char>(refusal.size());
    reply[2] = 11;
    reply += refusal + std::string((4 - refusal.size() % 4) % 4, '\0');
    reply[6] = static_cast<char>((reply.size() - 8) / 4);
    (void)!write(client, reply.data(), reply.size());
    close(client);
}

long millisecondsSince(std::chrono::steady_clock::time_point start) {
    return long(std::chrono::duration_cast<std::chrono::milliseconds>(
                    std::chrono::steady_clock::now() - start).count());
}

TEST(DisplayCheck, WaitsForASlowServerAndLeavesNoTimerRunning) {
    int number = 4000 + getpid() % 1000;
    int server = -1;
    while ((server = listenAsDisplay(number)) < 0) ++number;
    setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("XDG_SESSION_TYPE");  // not a Wayland session: X comes first
    std::thread slowServer(answerLate, server, std::chrono::milliseconds(300), "go away");
    std::string display, reason;
    DisplayRoom room;
    EXPECT_FALSE(chooseDisplay(display, reason, room));
    slowServer.join();
    close(server);
    // Not "no X server answers": the 300 ms wait in connect() was no reason
    // to give up.
    EXPECT_EQ(reason, "the X server refused the connection: go away");

    // Nothing of the limit outlives the check: a timer left running would
    // interrupt the program's blocking calls 20 times a second.
    itimerval timer{};
    getitimer(ITIMER_REAL, &timer);
    EXPECT_EQ(timer.it_value.tv_sec + timer.it_value.tv_usec, 0);
    EXPECT_EQ(timer.it_interval.tv_sec + timer.it_interval.tv_usec, 0);
    struct sigaction alarm {};
    sigaction(SIGALRM, nullptr, &alarm);
    EXPECT_EQ(alarm.sa_handler, SIG_DFL);
}

// The check refuses for the reason expected, and only once the 5 s a busy
// compositor may take are up, not much later.
void expectRefusedOnceThePatienceIsUp(const std::string& expected) {
    std::string display, reason;
    DisplayRoom room;
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(chooseDisplay(display, reason, room));
    const long waited = millisecondsSince(started);
    EXPECT_GT(waited, 4500);
    EXPECT_LT(waited, 30000);
    EXPECT_EQ(reason, expected);
}

// The address of a Unix socket at path.
sockaddr_un socketAddress(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), std::min(path.size(), sizeof address.sun_path - 1));
    return address;
}

// Where WAYLAND_DISPLAY leads when no X display is named: to no socket at
// all, to a socket whose compositor accepts (the kernel does, into the
// listening queue) and then never answers, and to one whose queue is full.
// Each ends in a refusal that names the socket; the last two once the
// check's patience of 5 s is up.
TEST(DisplayCheck, RefusesAMissingSilentOrBusyWaylandCompositor) {
    unsetenv("DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const std::string path = "/tmp/speckrim-test-wayland-" + std::to_string(getpid());
    setenv("WAYLAND_DISPLAY", path.c_str(), 1);
    std::string display, reason;
    DisplayRoom room;
    EXPECT_FALSE(chooseDisplay(display, reason, room));
    EXPECT_EQ(display, "Wayland display " + path);
    EXPECT_EQ(reason, "no compositor answers at " + path);

    const sockaddr_un address = socketAddress(path);
    const int silent = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(silent, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    expectRefusedOnceThePatienceIsUp("the compositor at " + path + " does not answer");
    close(silent);
    unlink(path.c_str());

    // A compositor whose queue of waiting connections is full: the
    // connection is tried again for 5 s, then refused with its own reason.
    const int busy = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(busy, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(busy, 0), 0);
    const int filler = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    ASSERT_EQ(connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    expectRefusedOnceThePatienceIsUp(
        "the compositor at " + path + " takes no new connections");
    close(filler);
    close(busy);
    unlink(path.c_str());
    unsetenv("WAYLAND_DISPLAY");
}

// An output of the test's compositor: its current mode, scale and turn.
struct TestOutput {
    int width;
    int height;
    int scale;
    int transform;
};

// Tells a client that binds the output what it is, as compositors do: its
// geometry (with the turn), a mode that is not the current one, the
// current mode, the scale.
void describeOutput(wl_client* client, void* data, std::uint32_t version, std::uint32_t id) {
    const auto& output = *static_cast<const TestOutput*>(data);
    wl_resource* resource = wl_resource_create(client, &wl_output_interface, int(version), id);
    wl_output_send_geometry(resource, 0, 0, 500, 300, WL_OUTPUT_SUBPIXEL_UNKNOWN, "test", "test",
                            output.transform);
    wl_output_send_mode(resource, 0, 8000, 8000, 30000);
    wl_output_send_mode(resource, WL_OUTPUT_MODE_CURRENT, output.width, output.height, 60000);
    if (version >= 2) {
        wl_output_send_scale(resource, output.scale);
        wl_output_send_done(resource);
    }
}

// A compositor of the test's own (libwayland-server) on the listening
// socket: it answers only after delay, until stop is set, and offers the
// outputs given. The kernel accepts the client's connection meanwhile.
void serveCompositor(int listening, std::chrono::milliseconds delay,
                            std::vector<TestOutput> outputs, const std::atomic<bool>& stop) {
    std::this_thread::sleep_for(delay);
    wl_display* display = wl_display_create();
    wl_display_add_socket_fd(display, listening);
    for (TestOutput& output : outputs) {
        wl_global_create(display, &wl_output_interface, 2, &output, describeOutput);
    }
    while (!stop) {
        wl_event_loop_dispatch(wl_display_get_event_loop(display), 20);
        wl_display_flush_clients(display);
    }
    wl_display_destroy_clients(display);  // the check's client may not have been reaped yet
    wl_display_destroy(display);          // closes the listening socket too
}

// The display check's room on a compositor that answers after delay and
// offers outputs; empty when refused.
DisplayRoom roomOnCompositor(std::chrono::milliseconds delay, std::vector<TestOutput> outputs) {
    const std::string folder = "/tmp/speckrim-test-compositor-" + std::to_string(getpid());
    const std::string path = folder + "/wayland-test";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/libqwayland-generic.so").put('\0');  // Qt's plugin, as Qt looks for it
    setenv("QT_QPA_PLATFORM_PLUGIN_PATH", folder.c_str(), 1);
    setenv("WAYLAND_DISPLAY", path.c_str(), 1);
    unsetenv("DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const sockaddr_un address = socketAddress(path);
    const int listening = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    listen(listening, 4);
    std::atomic<bool> stop{false};
    std::thread compositor(serveCompositor, listening, delay, std::move(outputs), std::cref(stop));
    std::string display, reason;
    DisplayRoom room;
    const bool accepted = chooseDisplay(display, reason, room);
    stop = true;
    compositor.join();
    std::filesystem::remove_all(folder);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
    EXPECT_TRUE(accepted) << reason;
    return accepted ? room : DisplayRoom();
}

// A compositor that takes a second to answer is waited for; a window may
// open on any output, so a large picture fits the smallest, in logical
// pixels: turned a quarter, an output is as high as its mode is wide; at
// scale 2 it holds half as many in each direction, each two screen pixels
// wide for Qt. QT_SCALE_FACTOR makes Qt's pixels larger still.
TEST(DisplayCheck, WaitsForASlowCompositorAndFitsItsSmallestOutput) {
    DisplayRoom room = roomOnCompositor(std::chrono::seconds(1),
                                 {{1920, 1080, 1, WL_OUTPUT_TRANSFORM_NORMAL},
                                  {1280, 1024, 1, WL_OUTPUT_TRANSFORM_90}});
    EXPECT_EQ(room.workArea, cv::Rect(0, 0, 1024, 1280));
    EXPECT_EQ(room.pixelRatio, 1);
    const std::vector<TestOutput> scaled = {{2048, 1536, 2, WL_OUTPUT_TRANSFORM_FLIPPED_270},
                                            {1920, 1080, 1, WL_OUTPUT_TRANSFORM_NORMAL}};
    room = roomOnCompositor(std::chrono::milliseconds(0), scaled);
    EXPECT_EQ(room.workArea, cv::Rect(0, 0, 768, 1024));
    EXPECT_EQ(room.pixelRatio, 2);
    setenv("QT_SCALE_FACTOR", "2", 1);
    room = roomOnCompositor(std::chrono::milliseconds(0), scaled);
    unsetenv("QT_SCALE_FACTOR");
    EXPECT_EQ(room.workArea, cv::Rect(0, 0, 384, 512));
    EXPECT_EQ(room.pixelRatio, 4);
    unsetenv("QT_QPA_PLATFORM");  // the check told Qt "wayland"
}

// A platform Qt has no plugin for is refused by name, rather than left to
// Qt's abort.
TEST(DisplayCheck, RefusesAPlatformQtHasNoPluginFor) {
    setenv("QT_QPA_PLATFORM", "no-such-platform", 1);
    setenv("QT_QPA_PLATFORM_PLUGIN_PATH", "/nonexistent", 1);  // where Qt would look first
    std::string display, reason;
    DisplayRoom room;
    EXPECT_FALSE(chooseDisplay(display, reason, room));
    EXPECT_EQ(reason, "Qt has no platform plugin named \"no-such-platform\"");
    // Options after the platform's name are Qt's to read: X as without them.
    setenv("QT_QPA_PLATFORM", "xcb:nograb", 1);
    unsetenv("DISPLAY");
    EXPECT_FALSE(chooseDisplay(display, reason, room));
    EXPECT_EQ(reason, "DISPLAY is not set");
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
}

// Qt's OpenGL integration for X and OpenCV's GTK window plugins are left
// out of the start, and what the user chose in the environment stays.
TEST(DisplayCheck, LeavesOutThePluginsNoWindowUsesUnlessTheUserChose) {
    const char* const kNames[] = {"QT_XCB_GL_INTEGRATION", "OPENCV_UI_BACKEND", "OPENCV_UI_PRIORITY_GTK",
                                  "OPENCV_UI_PRIORITY_GTK3"};
    for (const char* name : kNames) unsetenv(name);
    skipUnusedPlugins();
    EXPECT_STREQ(std::getenv("QT_XCB_GL_INTEGRATION"), "none");
    EXPECT_STREQ(std::getenv("OPENCV_UI_PRIORITY_GTK"), "0");
    EXPECT_STREQ(std::getenv("OPENCV_UI_PRIORITY_GTK3"), "0");
    for (const char* name : kNames) unsetenv(name);
    setenv("QT_XCB_GL_INTEGRATION", "xcb_egl", 1);
    setenv("OPENCV_UI_BACKEND", "GTK3", 1);
    skipUnusedPlugins();
    EXPECT_STREQ(std::getenv("QT_XCB_GL_INTEGRATION"), "xcb_egl");
    EXPECT_EQ(std::getenv("OPENCV_UI_PRIORITY_GTK3"), nullptr);
    for (const char* name : kNames) unsetenv(name);
}

// Qt's ratio of screen to window pixels, worked out before Qt starts as Qt
// will: the desktop's scale rounded to a whole (150 % draws at 2), a
// Wayland output's scale as it is, and the user's QT_* settings over both.
TEST(DisplayCheck, WorksOutQtsRatioOfScreenToWindowPixels) {
    for (const char* name : {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
                             "QT_AUTO_SCREEN_SCALE_FACTOR", "QT_SCALE_FACTOR_ROUNDING_POLICY"}) {
        unsetenv(name);
    }
    EXPECT_EQ(qtPixelRatio(1, 1), 1);
    EXPECT_EQ(qtPixelRatio(1, 2), 2);     // Xft.dpi 192
    EXPECT_EQ(qtPixelRatio(1, 1.5), 2);   // Xft.dpi 144
    EXPECT_EQ(qtPixelRatio(1, 1.25), 1);  // Xft.dpi 120
    EXPECT_EQ(qtPixelRatio(1, 0.5), 1);   // never below 1
    EXPECT_EQ(qtPixelRatio(2, 1), 2);     // a Wayland output at scale 2
    setenv("QT_SCALE_FACTOR_ROUNDING_POLICY", "PassThrough", 1);
    EXPECT_EQ(qtPixelRatio(1, 1.5), 1.5);
    setenv("QT_SCALE_FACTOR_ROUNDING_POLICY", "RoundPreferFloor", 1);
    EXPECT_EQ(qtPixelRatio(1, 1.5), 1);
    EXPECT_EQ(qtPixelRatio(1, 1.75), 2);
    unsetenv("QT_SCALE_FACTOR_ROUNDING_POLICY");
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    EXPECT_EQ(qtPixelRatio(1, 2), 1);
    EXPECT_EQ(qtPixelRatio(2, 1), 2);  // the compositor's scale is not Qt's to turn off
    unsetenv("QT_ENABLE_HIGHDPI_SCALING");
    setenv("QT_SCREEN_SCALE_FACTORS", "DP-1=1.5;HDMI-1=1", 1);  // KDE's, in place of Xft.dpi's
    EXPECT_EQ(qtPixelRatio(1, 2), 1.5);
    unsetenv("QT_SCREEN_SCALE_FACTORS");
    setenv("QT_SCALE_FACTOR", "2", 1);
    EXPECT_EQ(qtPixelRatio(1, 1), 2);
    EXPECT_EQ(qtPixelRatio(1, 2), 4);
    setenv("QT_SCALE_FACTOR", "not a number", 1);
    EXPECT_EQ(qtPixelRatio(1, 1), 1);
    unsetenv("QT_SCALE_FACTOR");
}

// What Qt writes on stderr as it starts, in a child process (the start is
// held once a process) ended by release or by a signal; returns what
// reached stderr, and the child's status.
std::string stderrOfHeldStart(const std::string& written, int signal, int& status) {
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], STDERR_FILENO);
        HeldMessages held = holdStartMessages();
        if (write(STDERR_FILENO, written.data(), written.size()) < 0) _exit(3);
        if (signal != 0) raise(signal);
        releaseStartMessages(held);
        _exit(0);
    }
    close(ends[1]);
    std::string text;
    char chunk[256];
    for (ssize_t length; (length = read(ends[0], chunk, sizeof chunk)) > 0;) text.append(chunk, length);
    close(ends[0]);
    waitpid(child, &status, 0);
    return text;
}

// Qt's start says nothing of KDE's lookup under the empty program name,
// and loses nothing else: not a line that only looks alike, not a last
// line without its end, not what was held when the process is killed.
TEST(DisplayCheck, SiftsOnlyTheStartsNoiseAndLosesNothingWhenKilled) {
    const std::string noise = "QSettings::value: Empty key passed\n";
    EXPECT_EQ(withoutStartNoise(noise + "qt.qpa.xcb: a real fault\n" + noise), "qt.qpa.xcb: a real fault\n");
    EXPECT_EQ(withoutStartNoise("x " + noise + "last, unended"), "x " + noise + "last, unended");
    int status = 0;
    EXPECT_EQ(stderrOfHeldStart(noise + "a real fault\n", 0, status), "a real fault\n");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(stderrOfHeldStart(noise + "said before dying\n", SIGTERM, status), noise + "said before dying\n");
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
}
