// Loaded into a program with LD_PRELOAD: records when each cv::imshow call
// starts, and at exit writes the times, one a line in microseconds of the
// monotonic clock, to the file named by IMSHOW_TIMES. How
// scripts/measure-refresh counts a real rimtrace's refreshes from outside.

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <opencv2/core.hpp>

namespace {

// Reserved up front: no allocation while the program under test refreshes.
std::vector<long long>& callTimes() {
    static std::vector<long long>* times = [] {
        auto* reserved = new std::vector<long long>;
        reserved->reserve(1 << 20);
        return reserved;
    }();
    return *times;
}

void writeTimes() {
    const char* path = std::getenv("IMSHOW_TIMES");
    if (path == nullptr) return;
    std::ofstream out(path);
    for (long long time : callTimes()) out << time << "\n";
}

using Imshow = void (*)(const cv::String&, cv::InputArray);

Imshow realImshow() {
    static const Imshow real = [] {
        std::atexit(writeTimes);
        return reinterpret_cast<Imshow>(dlsym(RTLD_NEXT,
            "_ZN2cv6imshowERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERKNS_11_InputArrayE"));
    }();
    return real;
}

}  // namespace

namespace cv {

void imshow(const String& window, InputArray image) {
    const Imshow real = realImshow();
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    callTimes().push_back(std::chrono::duration_cast<std::chrono::microseconds>(since).count());
    real(window, image);
}

}  // namespace cv
