// Refusals where a console outlives the program (a terminal on Linux):
// nothing to hold.

#include "desktop/console_hold.hpp"

namespace desktop {

void holdOwnConsoleForReading() {}

}  // namespace desktop
