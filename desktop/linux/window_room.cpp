// The address space kept for the window system's start (display.hpp).

#include <malloc.h>
#include <sys/mman.h>
#include <sys/resource.h>

#include <algorithm>
#include <new>

#include "desktop/display.hpp"

namespace desktop {

namespace {

constexpr std::size_t kMebibyte = std::size_t(1) << 20;
// What Qt's start takes beside its threads' stacks: its platform plugin
// and the libraries it loads, fonts, caches. With a small window Qt started
// with 37 MB of address space left and hung with 27, its threads' stacks
// 8 MB each.
constexpr std::size_t kQtStartBytes = 16 * kMebibyte;
// Qt's threads: the display's event reader, D-Bus's, and one to spare.
constexpr std::size_t kQtThreads = 3;
// glibc gives a thread a stack of the soft stack limit; 8 MB where it is
// unlimited. More than 64 MB is not kept: such a limit is a user's choice
// for deep recursion, not for Qt's threads.
constexpr std::size_t kDefaultStackBytes = 8 * kMebibyte;
constexpr std::size_t kLargestStackBytes = 64 * kMebibyte;
// Each screen pixel of a window: Qt's colour copy of what it shows (3
// bytes), its backing store (4) and the X server's shared copy (4).
constexpr std::size_t kBytesPerWindowPixel = 11;

std::size_t threadStackBytes() {
    rlimit stack{};
    if (getrlimit(RLIMIT_STACK, &stack) != 0 || stack.rlim_cur == RLIM_INFINITY) return kDefaultStackBytes;
    return std::min(static_cast<std::size_t>(stack.rlim_cur), kLargestStackBytes);
}

// Address space only: no memory is touched or committed.
void* reserve(std::size_t bytes) {
    void* kept = mmap(nullptr, bytes, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (kept == MAP_FAILED) throw std::bad_alloc();
    return kept;
}

bool addressSpaceLimited() {
    rlimit space{};
    return getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY;
}

}  // namespace

DisplayRoom keepRoomForWindows() {
    // glibc gives each thread that allocates an arena of its own, 64 MB of
    // address space taken at once; Qt's threads would take it from what the
    // window's buffers need. Within a limit every thread shares one.
    if (addressSpaceLimited()) mallopt(M_ARENA_MAX, 1);
    DisplayRoom room;
    room.keptBytes = kQtStartBytes + kQtThreads * threadStackBytes();
    room.keptForWindows = reserve(room.keptBytes);
    return room;
}

void giveRoomToWindow(DisplayRoom& room, cv::Size shown) {
    const std::size_t buffers = static_cast<std::size_t>(shown.area()) * kBytesPerWindowPixel;
    munmap(reserve(buffers), buffers);
    if (room.keptForWindows != nullptr) munmap(room.keptForWindows, room.keptBytes);
    room.keptForWindows = nullptr;
    room.keptBytes = 0;
}

}  // namespace desktop
