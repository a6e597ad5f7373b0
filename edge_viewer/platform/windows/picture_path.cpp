#include "platform/picture_path.hpp"

namespace rimtrace {

std::string localPicturePath(const std::string& fixedPath) { return fixedPath; }

}  // namespace rimtrace
