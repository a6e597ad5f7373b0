#include "platform/picture_path.hpp"

namespace speckwipe {

std::string localPicturePath(const std::string& fixedPath) { return fixedPath; }

}  // namespace speckwipe
