#include "desktop/picture_path.hpp"

#include <algorithm>
#include <cctype>

namespace desktop {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string localPicturePath(const std::string& fixedPath) {
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

}  // namespace desktop
