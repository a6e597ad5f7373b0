// Loaded into a program with LD_PRELOAD: looks at its windows from inside
// and presses a key at an exact moment of its run, which a test desktop
// can't time from outside. Every call still goes to the library.
//   KEY_AT="CALL N KEY": once the program has called cv::CALL (namedWindow
//     or resizeWindow) N times, its next cv::waitKey returns KEY (a number)
//     as if the user had pressed it just then.
//   PICTURE_PARTS=FILE: after each cv::waitKey, the picture's part of each
//     window the program opened, as Qt lays it out (cv::getWindowImageRect,
//     window pixels), is written to FILE when it changed, a line
//     "NAME: WIDTHxHEIGHT"; each cv::moveWindow the program makes, a line
//     "NAME: moved to X,Y"; as each cv::namedWindow is called, what the
//     program has written to its standard output file so far, a line
//     "NAME: opening after N bytes of output".
// How the end-to-end tests check that a key read while a window is opened
// or placed again is acted on, and the picture's part to the pixel.

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <opencv2/core.hpp>
#include <opencv2/highgui.hpp>

namespace {

struct Probe {
    std::string keyCall;
    int callsLeft = 0;
    int key = -1;
    bool pressed = false;
    std::ofstream parts;
    std::map<std::string, cv::Size> partSeen;
};

Probe& probe() {
    static Probe* chosen = [] {
        auto* read = new Probe;
        if (const char* keyAt = std::getenv("KEY_AT")) {
            std::istringstream(keyAt) >> read->keyCall >> read->callsLeft >> read->key;
        }
        if (const char* parts = std::getenv("PICTURE_PARTS")) read->parts.open(parts);
        return read;
    }();
    return *chosen;
}

void counted(const char* call) {
    if (probe().keyCall == call) --probe().callsLeft;
}

void writeParts() {
    Probe& seen = probe();
    if (!seen.parts.is_open()) return;
    for (auto& [window, part] : seen.partSeen) {
        const cv::Size now = cv::getWindowImageRect(window).size();
        if (now == part) continue;
        part = now;
        seen.parts << window << ": " << now.width << "x" << now.height << std::endl;
    }
}

void* real(const char* symbol) { return dlsym(RTLD_NEXT, symbol); }

}  // namespace

namespace cv {

void namedWindow(const String& window, int flags) {
    static const auto next = reinterpret_cast<void (*)(const String&, int)>(
        real("_ZN2cv11namedWindowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEi"));
    struct stat output {};
    if (probe().parts.is_open() && fstat(1, &output) == 0) {
        probe().parts << window << ": opening after " << output.st_size << " bytes of output" << std::endl;
    }
    next(window, flags);
    probe().partSeen.emplace(window, cv::Size(-1, -1));
    counted("namedWindow");
}

void resizeWindow(const String& window, int width, int height) {
    static const auto next = reinterpret_cast<void (*)(const String&, int, int)>(
        real("_ZN2cv12resizeWindowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEii"));
    next(window, width, height);
    counted("resizeWindow");
}

void moveWindow(const String& window, int x, int y) {
    static const auto next = reinterpret_cast<void (*)(const String&, int, int)>(
        real("_ZN2cv10moveWindowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEii"));
    next(window, x, y);
    if (probe().parts.is_open()) probe().parts << window << ": moved to " << x << "," << y << std::endl;
}

int waitKey(int delay) {
    static const auto next = reinterpret_cast<int (*)(int)>(real("_ZN2cv7waitKeyEi"));
    const int key = next(delay);
    writeParts();
    Probe& at = probe();
    if (at.pressed || at.keyCall.empty() || at.callsLeft > 0) return key;
    at.pressed = true;
    return at.key;
}

}  // namespace cv
