#pragma once
// The display check that both programs carry a copy of (they share no
// code), run against each copy: a slow X server is waited for, and the
// timer that limits the wait is gone once the check returns; a Wayland
// compositor that is missing or never answers is refused, in bounded time.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include <opencv2/core.hpp>

using DisplayCheck = bool (*)(std::string& display, std::string& reason, cv::Rect& workArea);

// A listening socket at the abstract address libxcb tries first for
// display :number, or -1 when that address is taken. A backlog of 0 holds
// one waiting connection; the next connect() blocks until one is accepted.
inline int listenAsDisplay(int number) {
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
inline void answerLate(int server, std::chrono::milliseconds delay, const std::string& refusal) {
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

inline void expectSlowServerWaitedForAndTimerOff(DisplayCheck displayAvailable) {
    int number = 4000 + getpid() % 1000;
    int server = -1;
    while ((server = listenAsDisplay(number)) < 0) ++number;
    setenv("DISPLAY", (":" + std::to_string(number)).c_str(), 1);
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("XDG_SESSION_TYPE");  // not a Wayland session: X comes first
    std::thread slowServer(answerLate, server, std::chrono::milliseconds(300), "go away");
    std::string display, reason;
    cv::Rect workArea;
    EXPECT_FALSE(displayAvailable(display, reason, workArea));
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

// Where WAYLAND_DISPLAY leads when no X display is named: to no socket at
// all, and to a socket whose compositor accepts (the kernel does, into the
// listening queue) and then never answers. Each ends in a refusal that
// names the socket; the second within the check's patience of 5 s.
inline void expectWaylandRefusals(DisplayCheck displayAvailable) {
    unsetenv("DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    const std::string path = "/tmp/speckrim-test-wayland-" + std::to_string(getpid());
    setenv("WAYLAND_DISPLAY", path.c_str(), 1);
    std::string display, reason;
    cv::Rect workArea;
    EXPECT_FALSE(displayAvailable(display, reason, workArea));
    EXPECT_EQ(display, "Wayland display " + path);
    EXPECT_EQ(reason, "no compositor answers at " + path);

    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    const int silent = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(silent, 4), 0);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(displayAvailable(display, reason, workArea));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(reason, "the compositor at " + path + " does not answer");
    close(silent);
    unlink(path.c_str());
    unsetenv("WAYLAND_DISPLAY");
}

// A platform Qt has no plugin for is refused by name, rather than left to
// Qt's abort.
inline void expectUnknownPlatformRefused(DisplayCheck displayAvailable) {
    setenv("QT_QPA_PLATFORM", "no-such-platform", 1);
    setenv("QT_QPA_PLATFORM_PLUGIN_PATH", "/nonexistent", 1);  // where Qt would look first
    std::string display, reason;
    cv::Rect workArea;
    EXPECT_FALSE(displayAvailable(display, reason, workArea));
    EXPECT_EQ(reason, "Qt has no platform plugin named \"no-such-platform\"");
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("QT_QPA_PLATFORM_PLUGIN_PATH");
}
