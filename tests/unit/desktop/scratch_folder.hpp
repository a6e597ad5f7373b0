#pragma once
// A scratch folder of a test's own, for the suites that run side by side
// (natively and on emulated CPUs at once under ctest -j): named for the
// clock, which works alike on every system (a process id needs a different
// call on Windows), and made anew: where another run already holds the
// name, the next one is tried, so no two runs ever share a file.

#include <chrono>
#include <filesystem>
#include <string>

inline std::filesystem::path scratchFolder(const std::string& prefix) {
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0;; ++attempt) {
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() / (prefix + std::to_string(tick) + "_" + std::to_string(attempt));
        if (std::filesystem::create_directory(folder)) return folder;
    }
}
