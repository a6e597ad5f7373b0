// Which display a window opens on under Linux: the one Qt would pick,
// checked first, then named to Qt.

#include "platform/display.hpp"

#include <cstdlib>

#include "environment.hpp"
#include "qt_plugins.hpp"
#include "wayland_display.hpp"
#include "x11_display.hpp"

namespace rimtrace {

namespace {

// The platform the user asked Qt for: QT_QPA_PLATFORM's first choice,
// without its arguments ("xcb:option=value;wayland" asks for xcb).
std::string requestedPlatform() {
    const std::string platform = environment("QT_QPA_PLATFORM");
    return platform.substr(0, platform.find_first_of(";:"));
}

// With no platform asked for, a Wayland compositor comes first in a
// Wayland session and where no X display is named, as long as there is
// one to try.
bool waylandFirst() {
    return (environment("XDG_SESSION_TYPE") == "wayland" || environment("DISPLAY").empty()) &&
           waylandCompositorNamed();
}

// Tells Qt to use the platform just checked, unless the user named one:
// left to itself, Qt in a Wayland session tries its Wayland plugin first
// and prints a warning on stderr at every start when it is missing.
bool setQtPlatformUnlessChosen(const char* platform) {
    if (requestedPlatform().empty()) setenv("QT_QPA_PLATFORM", platform, 1);
    return true;
}

bool chooseX11(std::string& display, std::string& reason, cv::Rect& workArea) {
    display = environment("DISPLAY");
    if (display.empty()) {
        reason = "DISPLAY is not set";
        return false;
    }
    display = "display " + display;
    return xServerAnswers(reason, workArea) && setQtPlatformUnlessChosen("xcb");
}

bool chooseWayland(std::string& display, std::string& reason, cv::Rect& workArea) {
    std::string place;
    if (waylandAvailable(place, reason, workArea)) return setQtPlatformUnlessChosen("wayland");
    display = "Wayland display " + place;
    return false;
}

// A platform other than X and Wayland (offscreen, vnc, ...): there is
// nothing to connect to, only Qt's plugin to find.
bool chooseOtherPlatform(const std::string& platform, std::string& reason) {
    if (qtPlatformPluginPresent(platform)) return true;
    reason = "Qt has no platform plugin named \"" + platform + "\"";
    return false;
}

}  // namespace

bool chooseDisplay(std::string& display, std::string& reason, cv::Rect& workArea) {
    const std::string platform = requestedPlatform();
    if (platform.rfind("wayland", 0) == 0 || (platform.empty() && waylandFirst())) {
        if (chooseWayland(display, reason, workArea)) return true;
        // In a Wayland session whose compositor failed, its X display
        // (Xwayland) may still serve, unless the user asked for Wayland.
        const bool xDisplayToTry = platform.empty() && !environment("DISPLAY").empty();
        return xDisplayToTry && chooseX11(display, reason, workArea);
    }
    if (platform.empty() || platform == "xcb") return chooseX11(display, reason, workArea);
    return chooseOtherPlatform(platform, reason);
}

}  // namespace rimtrace
