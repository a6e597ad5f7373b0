#include "system_reason.hpp"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace desktop {

std::string systemReason(int error) {
    if (error == ENOENT) return "no such file";
    std::string text = std::strerror(error);
    if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

}  // namespace desktop
