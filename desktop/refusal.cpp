#include "desktop/refusal.hpp"

#include <filesystem>
#include <iostream>
#include <new>
#include <system_error>

#include "desktop/console_hold.hpp"
#include "desktop/picture_file.hpp"
#include "desktop/picture_path.hpp"

namespace desktop {

namespace {

std::ostream& sayAs(const Program& program) { return std::cerr << program.name << ": "; }

void sayOutputLost(const Program& program, const std::string& reason) {
    sayAs(program) << "cannot write " << program.output << " to standard output: " << reason << "\n";
}

bool isOutOfMemory(const cv::Exception& error) { return error.code == cv::Error::StsNoMem; }

void sayOutOfMemory(const Program& program, const cv::Mat& picture) {
    sayAs(program) << "not enough memory for " << shownPath(program);
    if (!picture.empty()) std::cerr << " (" << picture.cols << "x" << picture.rows << " pixels)";
    std::cerr << "\n";
}

}  // namespace

std::string shownPath(const Program& program) {
    const std::string path = localPicturePath(program.picturePath);
    if (std::filesystem::path(path).is_absolute()) return path;
    std::error_code noWorkingDirectory;  // absolute() needs one; say the bare name then
    const std::filesystem::path shown = std::filesystem::absolute(path, noWorkingDirectory);
    return shown.empty() ? path : shown.string();
}

bool checkStandardStreams(const Program& program) {
    const StandardOutput output = program.output.empty() ? StandardOutput::unused : StandardOutput::written;
    std::string reason;
    if (standardStreamsUsable(output, reason)) return true;
    sayOutputLost(program, reason);
    return false;
}

bool deliverOutput(const Program& program) {
    std::string reason;
    if (outputDelivered(reason)) return true;
    sayOutputLost(program, reason);
    return false;
}

bool loadPicture(const Program& program, cv::Mat& picture) {
    std::string reason;
    if (readGreyPicture(localPicturePath(program.picturePath), picture, reason)) return true;
    sayAs(program) << "cannot read " << shownPath(program) << ": " << reason << "\n";
    return false;
}

bool checkDisplay(const Program& program, DisplayRoom& room) {
    std::string display;
    std::string reason;
    if (chooseDisplay(display, reason, room)) return true;
    sayAs(program) << "cannot open a window";
    if (!display.empty()) std::cerr << " on " << display;
    std::cerr << ": " << reason << "\n";
    return false;
}

int refused() {
    holdOwnConsoleForReading();
    return 1;
}

int refuseWhereMemoryRunsOut(const Program& program, const cv::Mat& picture, const std::function<int()>& work) {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        sayOutOfMemory(program, picture);
    } catch (const cv::Exception& error) {
        if (!isOutOfMemory(error)) throw;
        sayOutOfMemory(program, picture);
    }
    return refused();
}

}  // namespace desktop
