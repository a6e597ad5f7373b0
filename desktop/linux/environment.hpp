#pragma once
// An environment variable's value, empty when it is not set.

#include <cstdlib>
#include <string>

namespace desktop {

inline std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? "" : value;
}

}  // namespace desktop
