#include "desktop/picture_file.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <exception>
#include <new>

#include <opencv2/imgcodecs.hpp>

#include "system_reason.hpp"

namespace desktop {

namespace {

// Checks what imread can't tell apart: missing, not a file, unreadable, empty.
bool checkReadableFile(const std::string& path, std::string& reason) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        reason = systemReason(errno);
        return false;
    }
    if ((info.st_mode & S_IFMT) == S_IFDIR) {
        reason = "is a directory";
        return false;
    }
    if ((info.st_mode & S_IFMT) != S_IFREG) {
        reason = "not a regular file";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        reason = systemReason(errno);
        return false;
    }
    std::fclose(file);
    if (info.st_size == 0) {
        reason = "empty file";
        return false;
    }
    return true;
}

}  // namespace

bool readGreyPicture(const std::string& path, cv::Mat& picture, std::string& reason) {
    reason.clear();
    if (!checkReadableFile(path, reason)) return false;
    try {
        picture = cv::imread(path, cv::IMREAD_GRAYSCALE);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const cv::Exception& error) {
        if (error.code == cv::Error::StsNoMem) throw;
        // OpenCV refuses pictures whose header claims too many pixels.
        const bool tooLarge = error.err.find("CV_IO_MAX_IMAGE_PIXELS") != std::string::npos;
        reason = tooLarge ? "picture too large to load" : "cannot decode: " + error.err;
    } catch (const std::exception& error) {
        reason = std::string("cannot decode: ") + error.what();
    }
    if (!reason.empty()) {
        std::replace(reason.begin(), reason.end(), '\n', ' ');  // one line on stderr
        return false;
    }
    if (picture.empty()) {
        reason = "not a picture this program can decode";
        return false;
    }
    return true;
}

}  // namespace desktop
