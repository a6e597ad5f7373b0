#include "x11_display.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "display_patience.hpp"

namespace desktop {

namespace {

void interruptOnly(int) {}

// xcb_connect blocks in connect() for minutes on a host that drops packets.
// SIGALRM without SA_RESTART makes connect() fail with EINTR once the
// display's patience is up; the timer then repeats at the retry interval so
// that each further address fails fast.
void limitBlockingCalls(bool on) {
    struct sigaction action {};
    action.sa_handler = on ? interruptOnly : SIG_DFL;
    sigaction(SIGALRM, &action, nullptr);
    itimerval timer{};
    if (on) {
        timer.it_value.tv_sec = kDisplayPatience.count();
        timer.it_interval.tv_usec = std::chrono::microseconds(kDisplayRetryInterval).count();
    }
    setitimer(ITIMER_REAL, &timer, nullptr);
}

// Connects as Qt will. libxcb writes a refusing server's reason to stderr
// itself; stderr goes to a pipe meanwhile, and the reason comes back as one
// line. The pipe never blocks: a longer text would be cut, not hang us.
xcb_connection_t* connectCapturingRefusal(int& screen, std::string& refusal) {
    int ends[2] = {-1, -1};
    const int savedStderr = dup(STDERR_FILENO);
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) dup2(ends[1], STDERR_FILENO);
    limitBlockingCalls(true);
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    limitBlockingCalls(false);
    dup2(savedStderr, STDERR_FILENO);
    close(savedStderr);
    close(ends[1]);
    char text[512];
    const ssize_t length = ends[0] < 0 ? 0 : read(ends[0], text, sizeof text);
    close(ends[0]);
    refusal.assign(text, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
    std::replace(refusal.begin(), refusal.end(), '\n', ' ');
    refusal.erase(refusal.find_last_not_of(' ') + 1);
    return connection;
}

// The screen that DISPLAY names (its number as xcb_connect returned it).
xcb_screen_t* screenOf(xcb_connection_t* connection, int screenNumber) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    return screens.data;
}

// The part of the screen windows may use: the window manager's work area
// (_NET_WORKAREA: x, y, width, height, without its panels), else all of it.
cv::Rect usableArea(xcb_connection_t* connection, const xcb_screen_t* screen) {
    const cv::Rect whole(0, 0, screen->width_in_pixels, screen->height_in_pixels);
    const char name[] = "_NET_WORKAREA";
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr);
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, screen->root, atom ? atom->atom : 0,
                                     XCB_ATOM_CARDINAL, 0, 4), nullptr);
    cv::Rect area;
    if (property != nullptr && property->format == 32 && xcb_get_property_value_length(property) == 16) {
        const auto* v = static_cast<const std::uint32_t*>(xcb_get_property_value(property));
        area = cv::Rect(int(v[0]), int(v[1]), int(v[2]), int(v[3])) & whole;
    }
    std::free(property);
    std::free(atom);
    return area.empty() ? whole : area;
}

// The desktop's font resolution, Xft.dpi in the root window's resources
// (RESOURCE_MANAGER, as xrdb sets it: GNOME writes 192 at 200 %), which Qt
// takes for the screen's scale; 96, the unscaled default, when not set.
double resourceDpi(xcb_connection_t* connection, const xcb_screen_t* screen) {
    xcb_get_property_reply_t* property = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, screen->root, XCB_ATOM_RESOURCE_MANAGER,
                                     XCB_ATOM_STRING, 0, 1 << 16), nullptr);
    std::string resources;
    if (property != nullptr && property->format == 8) {
        resources.assign(static_cast<const char*>(xcb_get_property_value(property)),
                         static_cast<std::size_t>(xcb_get_property_value_length(property)));
    }
    std::free(property);
    std::istringstream lines(resources);
    double dpi = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("Xft.dpi:", 0) == 0) dpi = std::atoi(line.c_str() + 8);  // Qt reads a whole number
    }
    return dpi > 0 ? dpi : 96;
}

}  // namespace

bool xServerAnswers(std::string& reason, cv::Rect& workArea, double& dpiScale) {
    int screen = 0;
    std::string refusal;
    xcb_connection_t* connection = connectCapturingRefusal(screen, refusal);
    const int error = xcb_connection_has_error(connection);
    if (error == 0) {
        workArea = usableArea(connection, screenOf(connection, screen));
        dpiScale = resourceDpi(connection, screenOf(connection, screen)) / 96;
    }
    xcb_disconnect(connection);
    if (error == 0) return true;
    reason = error == XCB_CONN_CLOSED_PARSE_ERR       ? "not a valid X display name"
             : error == XCB_CONN_CLOSED_INVALID_SCREEN ? "no such screen"
             : !refusal.empty() ? "the X server refused the connection: " + refusal
                                : "no X server answers";
    return false;
}

}  // namespace desktop
