// Which display a window opens on under Linux: the one Qt would pick,
// checked first, then named to Qt.

#include "desktop/display.hpp"

#include <cstdlib>

#include "environment.hpp"
#include "qt_plugins.hpp"
#include "qt_scale.hpp"
#include "toolbar_icons.hpp"
#include "wayland_display.hpp"
#include "x11_display.hpp"

namespace desktop {

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

// An area in screen pixels, or in a compositor's logical ones, counted in
// units times as large: Qt's window pixels.
cv::Rect countedIn(const cv::Rect& area, double times) {
    return cv::Rect(int(area.x / times), int(area.y / times), int(area.width / times),
                    int(area.height / times));
}

bool chooseX11(std::string& display, std::string& reason, DisplayRoom& room) {
    display = environment("DISPLAY");
    if (display.empty()) {
        reason = "DISPLAY is not set";
        return false;
    }
    display = "display " + display;
    cv::Rect screenArea;
    double dpiScale = 1;
    if (!xServerAnswers(reason, screenArea, dpiScale)) return false;
    room.pixelRatio = qtPixelRatio(1, dpiScale);
    room.workArea = countedIn(screenArea, room.pixelRatio);
    return setQtPlatformUnlessChosen("xcb");
}

// The compositor scales by its output's scale itself; what Qt adds on top
// (QT_SCALE_FACTOR, ...) makes a window pixel larger than a logical one.
bool chooseWayland(std::string& display, std::string& reason, DisplayRoom& room) {
    std::string place;
    cv::Rect outputArea;
    int outputScale = 1;
    if (!waylandAvailable(place, reason, outputArea, outputScale)) {
        display = "Wayland display " + place;
        return false;
    }
    room.pixelRatio = qtPixelRatio(outputScale, 1);
    room.workArea = countedIn(outputArea, room.pixelRatio / outputScale);
    return setQtPlatformUnlessChosen("wayland");
}

// A platform other than X and Wayland (offscreen, vnc, ...): there is
// nothing to connect to, only Qt's plugin to find.
bool chooseOtherPlatform(const std::string& platform, std::string& reason) {
    if (qtPlatformPluginPresent(platform)) return true;
    reason = "Qt has no platform plugin named \"" + platform + "\"";
    return false;
}

}  // namespace

bool chooseDisplay(std::string& display, std::string& reason, DisplayRoom& room) {
    offerToolbarIcons();
    skipUnusedPlugins();
    const std::string platform = requestedPlatform();
    if (platform.rfind("wayland", 0) == 0 || (platform.empty() && waylandFirst())) {
        if (chooseWayland(display, reason, room)) return true;
        // In a Wayland session whose compositor failed, its X display
        // (Xwayland) may still serve, unless the user asked for Wayland.
        const bool xDisplayToTry = platform.empty() && !environment("DISPLAY").empty();
        return xDisplayToTry && chooseX11(display, reason, room);
    }
    if (platform.empty() || platform == "xcb") return chooseX11(display, reason, room);
    room.pixelRatio = qtPixelRatio(1, 1);
    return chooseOtherPlatform(platform, reason);
}

}  // namespace desktop
