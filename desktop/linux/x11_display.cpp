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
#include <vector>

#include "display_patience.hpp"

namespace desktop {

namespace {

// The root, a window manager's frame, KWin's wrapper inside it, the client.
constexpr int kWindowLevelsSearched = 4;

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

xcb_atom_t atomNamed(xcb_connection_t* connection, const std::string& name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// The windows of this process that carry no WM_CLASS among `windows` and
// their descendants, down to `levelsLeft` levels: a client window lies
// under its window manager's frame, KWin's two deep. Each level's requests
// go out together, one round trip a level.
void findUnnamedWindows(xcb_connection_t* connection, std::vector<xcb_window_t> windows, int levelsLeft,
                        xcb_atom_t pidAtom, std::vector<xcb_window_t>& found) {
    const auto pid = static_cast<std::uint32_t>(getpid());
    for (; !windows.empty() && levelsLeft > 0; --levelsLeft) {
        std::vector<xcb_get_property_cookie_t> pids, classes;
        std::vector<xcb_query_tree_cookie_t> trees;
        for (xcb_window_t window : windows) {
            pids.push_back(xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1));
            classes.push_back(xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 0));
            trees.push_back(xcb_query_tree(connection, window));
        }
        std::vector<xcb_window_t> children;
        for (std::size_t i = 0; i < windows.size(); ++i) {
            xcb_get_property_reply_t* owner = xcb_get_property_reply(connection, pids[i], nullptr);
            xcb_get_property_reply_t* named = xcb_get_property_reply(connection, classes[i], nullptr);
            xcb_query_tree_reply_t* tree = xcb_query_tree_reply(connection, trees[i], nullptr);
            const bool ours = owner != nullptr && xcb_get_property_value_length(owner) == 4 &&
                              *static_cast<const std::uint32_t*>(xcb_get_property_value(owner)) == pid;
            if (ours && named != nullptr && named->type == XCB_ATOM_NONE) found.push_back(windows[i]);
            if (!ours && tree != nullptr) {
                const xcb_window_t* under = xcb_query_tree_children(tree);
                children.insert(children.end(), under, under + xcb_query_tree_children_length(tree));
            }
            std::free(owner);
            std::free(named);
            std::free(tree);
        }
        windows = std::move(children);
    }
}

}  // namespace

// Qt names a window's program in WM_CLASS from its own command line, which
// OpenCV starts empty: so the windows carry none, and a desktop ties them to
// no menu entry ("Unknown" in GNOME's top bar). WM_CLASS is set here as Qt
// would with a command line: instance and class both the program's name;
// and KWin, which finds no entry by WM_CLASS, is told the entry's name in
// its own property, as KDE's programs do. Set after the window is shown,
// which GNOME's and KDE's window managers follow as they do any change.
void nameXWindowsOf(const std::string& program) {
    int screen = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(connection) == 0) {
        std::vector<xcb_window_t> unnamed;
        findUnnamedWindows(connection, {screenOf(connection, screen)->root}, kWindowLevelsSearched,
                           atomNamed(connection, "_NET_WM_PID"), unnamed);
        const std::string instanceAndClass = program + '\0' + program + '\0';
        const xcb_atom_t entryAtom = atomNamed(connection, "_KDE_NET_WM_DESKTOP_FILE");
        const xcb_atom_t utf8 = atomNamed(connection, "UTF8_STRING");
        for (xcb_window_t window : unnamed) {
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                                static_cast<std::uint32_t>(instanceAndClass.size()), instanceAndClass.data());
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, entryAtom, utf8, 8,
                                static_cast<std::uint32_t>(program.size()), program.data());
        }
        // a round trip: the server drops requests of a connection closed right behind them
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
    xcb_disconnect(connection);
}

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
