// rimtrace's platform part on Windows: its fixed path kept as written, and
// the display check refusing a session without a visible desktop.

#include <gtest/gtest.h>

#include "display_cases.hpp"
#include "path_cases.hpp"
#include "platform/display.hpp"
#include "platform/picture_path.hpp"

using namespace rimtrace;

TEST(RimtracePicturePath, IsKeptAsWrittenOnWindows) { expectPathKeptAsWritten(localPicturePath); }

TEST(RimtraceDisplayCheck, RefusesASessionWithoutAVisibleDesktop) {
    expectHiddenWindowStationRefused(chooseDisplay);
}
