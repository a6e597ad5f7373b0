// Loaded into a program with LD_PRELOAD: records when the program's path to
// the screen reaches each step, and at exit writes them, one a line as
// "step microseconds" of the real-time clock (which a script's
// $EPOCHREALTIME can be held against), to the file named by FRAME_TIMES:
//   loaded       the libraries are loaded, just before main
//   namedWindow  a cv::namedWindow call starts; opened: it returned
//   imshow       a cv::imshow call starts
//   key          a cv::waitKey call returned a key
//   paint        the window's pixels went to the display: on X, Qt's
//                backing store put through MIT-SHM, an image or a pixmap
//                copy; on Wayland, a surface committed with a new buffer.
// How scripts/measure-refresh and scripts/measure-start time real programs
// from outside, the five-line OpenCV program beside them alike.

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <opencv2/core.hpp>

namespace {

enum Step { kLoaded, kNamedWindow, kOpened, kImshow, kKey, kPaint };
const char* const kStepNames[] = {"loaded", "namedWindow", "opened", "imshow", "key", "paint"};

struct Mark {
    Step step;
    long long micros;
};

// Fixed room, filled without allocating or locking: the program under test
// refreshes as it would without the shim.
constexpr int kMarksAtMost = 1 << 20;
Mark marks[kMarksAtMost];
std::atomic<int> markCount{0};

void mark(Step step) {
    const int at = markCount.fetch_add(1);
    if (at >= kMarksAtMost) return;
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    marks[at] = {step, std::chrono::duration_cast<std::chrono::microseconds>(since).count()};
}

void writeMarks() {
    const char* path = std::getenv("FRAME_TIMES");
    if (path == nullptr) return;
    std::ofstream out(path);
    const int count = std::min(markCount.load(), kMarksAtMost);
    for (int i = 0; i < count; ++i) out << kStepNames[marks[i].step] << " " << marks[i].micros << "\n";
}

__attribute__((constructor)) void atLoad() {
    mark(kLoaded);
    std::atexit(writeMarks);
}

// The function the shim stands in front of. Qt loads its platform plugin,
// and with it the display libraries, out of the global scope that
// RTLD_NEXT searches; by then the library is loaded, and found by name.
template <typename Function>
Function real(const char* symbol, const char* library = nullptr) {
    void* found = dlsym(RTLD_NEXT, symbol);
    if (found == nullptr && library != nullptr) found = dlsym(dlopen(library, RTLD_LAZY | RTLD_NOLOAD), symbol);
    if (found == nullptr) std::abort();
    return reinterpret_cast<Function>(found);
}

}  // namespace

namespace cv {

void namedWindow(const String& window, int flags) {
    static const auto next = real<void (*)(const String&, int)>(
        "_ZN2cv11namedWindowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEi");
    mark(kNamedWindow);
    next(window, flags);
    mark(kOpened);
}

void imshow(const String& window, InputArray image) {
    static const auto next = real<void (*)(const String&, InputArray)>(
        "_ZN2cv6imshowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERKNS_11_InputArrayE");
    mark(kImshow);
    next(window, image);
}

int waitKey(int delay) {
    static const auto next = real<int (*)(int)>("_ZN2cv7waitKeyEi");
    const int key = next(delay);
    if (key >= 0) mark(kKey);
    return key;
}

}  // namespace cv

// The display libraries' calls, declared here with their C signatures so
// that the shim needs none of their headers. Each is a paint, passed on.
extern "C" {

struct XcbCookie {
    unsigned int sequence;
};

XcbCookie xcb_shm_put_image(void* c, std::uint32_t drawable, std::uint32_t gc, std::uint16_t totalWidth,
                            std::uint16_t totalHeight, std::uint16_t srcX, std::uint16_t srcY,
                            std::uint16_t srcWidth, std::uint16_t srcHeight, std::int16_t dstX, std::int16_t dstY,
                            std::uint8_t depth, std::uint8_t format, std::uint8_t sendEvent, std::uint32_t shmseg,
                            std::uint32_t offset) {
    static const auto next = real<decltype(&xcb_shm_put_image)>("xcb_shm_put_image", "libxcb-shm.so.0");
    mark(kPaint);
    return next(c, drawable, gc, totalWidth, totalHeight, srcX, srcY, srcWidth, srcHeight, dstX, dstY, depth,
                format, sendEvent, shmseg, offset);
}

XcbCookie xcb_copy_area(void* c, std::uint32_t src, std::uint32_t dst, std::uint32_t gc, std::int16_t srcX,
                        std::int16_t srcY, std::int16_t dstX, std::int16_t dstY, std::uint16_t width,
                        std::uint16_t height) {
    static const auto next = real<decltype(&xcb_copy_area)>("xcb_copy_area", "libxcb.so.1");
    mark(kPaint);
    return next(c, src, dst, gc, srcX, srcY, dstX, dstY, width, height);
}

// libwayland's one entry for every request. Its arguments after flags are
// integers and pointers only, each in one 8-byte slot on x86-64 and arm64,
// so passing on the eight that a request may use passes on the request.
// A commit (wl_surface's request 6) after an attach of a buffer (request
// 1, its first argument) is a paint.
void* wl_proxy_marshal_flags(void* proxy, std::uint32_t opcode, const void* interface, std::uint32_t version,
                             std::uint32_t flags, ...) {
    static const auto next = real<decltype(&wl_proxy_marshal_flags)>("wl_proxy_marshal_flags", "libwayland-client.so.0");
    static const auto className = real<const char* (*)(void*)>("wl_proxy_get_class", "libwayland-client.so.0");
    static thread_local bool attached = false;
    std::intptr_t slot[8];
    va_list arguments;
    va_start(arguments, flags);
    for (std::intptr_t& value : slot) value = va_arg(arguments, std::intptr_t);
    va_end(arguments);
    if ((opcode == 1 || opcode == 6) && std::strcmp(className(proxy), "wl_surface") == 0) {
        if (opcode == 1) attached = slot[0] != 0;
        if (opcode == 6 && attached) mark(kPaint);
        if (opcode == 6) attached = false;
    }
    return next(proxy, opcode, interface, version, flags, slot[0], slot[1], slot[2], slot[3], slot[4], slot[5],
                slot[6], slot[7]);
}

}  // extern "C"
