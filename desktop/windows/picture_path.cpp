#include "desktop/picture_path.hpp"

namespace desktop {

std::string localPicturePath(const std::string& fixedPath) { return fixedPath; }

}  // namespace desktop
