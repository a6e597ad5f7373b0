// Refusals where a console outlives the program (a terminal on Linux):
// nothing to hold.

#include "platform/console_hold.hpp"

namespace speckwipe {

void holdOwnConsoleForReading() {}

}  // namespace speckwipe
