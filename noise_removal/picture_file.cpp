#include "picture_file.hpp"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include <opencv2/imgcodecs.hpp>

namespace speckwipe {

namespace {

// Whether file names here are Windows paths, as the fixed path is.
#ifdef _WIN32
constexpr bool kWindowsPaths = true;
#else
constexpr bool kWindowsPaths = false;
#endif

bool isSeparator(char c) { return c == '/' || c == '\\'; }

// strerror's text with a lower-case first letter, to fit inside our line.
std::string systemReason(int error) {
    if (error == ENOENT) return "no such file";
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

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

std::string localPicturePath(const std::string& fixedPath) {
    if (kWindowsPaths) return fixedPath;
    std::size_t start = 0;
    if (fixedPath.size() >= 2 && std::isalpha(static_cast<unsigned char>(fixedPath[0])) &&
        fixedPath[1] == ':') {
        start = 2;
        while (start < fixedPath.size() && isSeparator(fixedPath[start])) ++start;
    }
    std::string local = fixedPath.substr(start);
    std::replace(local.begin(), local.end(), '\\', '/');
    return local;
}

bool readGreyPicture(const std::string& path, cv::Mat& picture, std::string& reason) {
    reason.clear();
    if (!checkReadableFile(path, reason)) return false;
    try {
        picture = cv::imread(path, cv::IMREAD_GRAYSCALE);
    } catch (const cv::Exception& error) {
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

}  // namespace speckwipe
