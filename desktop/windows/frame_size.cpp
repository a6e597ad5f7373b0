#include "frame_size.hpp"

#include <windows.h>

namespace desktop {

namespace {

constexpr int kSpare = 16;

using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using SystemDpi = UINT(WINAPI*)();

}  // namespace

// The program is aware of each monitor's scale, so the plain
// AdjustWindowRectEx would answer at 100 %; its DPI-taking twin and the
// screen's DPI come with Windows 10 (1607), and are looked up so that
// older systems still start, with the 100 % frame.
cv::Size framedSize() {
    RECT frame{0, 0, 0, 0};
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(
        reinterpret_cast<void*>(GetProcAddress(user32, "AdjustWindowRectExForDpi")));
    const auto systemDpi =
        reinterpret_cast<SystemDpi>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem")));
    if (adjustForDpi != nullptr && systemDpi != nullptr) {
        adjustForDpi(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0, systemDpi());
    } else {
        AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    }
    return cv::Size(frame.right - frame.left + kSpare, frame.bottom - frame.top + kSpare);
}

}  // namespace desktop
