// rimtrace's platform part on Linux: where its fixed path points, and the
// display check against X servers and Wayland compositors of the tests' own.

#include <gtest/gtest.h>

#include "display_cases.hpp"
#include "path_cases.hpp"
#include "platform/display.hpp"
#include "platform/linux/qt_scale.hpp"
#include "platform/picture_path.hpp"

using namespace rimtrace;

TEST(RimtracePicturePath, DriveRootStandsForTheWorkingDirectory) {
    expectDriveRootMeansWorkingDirectory(localPicturePath);
}

TEST(RimtraceDisplayCheck, WaitsForASlowServerAndLeavesNoTimerRunning) {
    expectSlowServerWaitedForAndTimerOff(chooseDisplay);
}

TEST(RimtraceDisplayCheck, RefusesAMissingSilentOrBusyWaylandCompositor) {
    expectWaylandRefusals(chooseDisplay);
}

TEST(RimtraceDisplayCheck, WaitsForASlowCompositorAndFitsItsSmallestOutput) {
    expectSlowCompositorAndItsSmallestOutput(chooseDisplay);
}

TEST(RimtraceDisplayCheck, RefusesAPlatformQtHasNoPluginFor) {
    expectUnknownPlatformRefused(chooseDisplay);
}

TEST(RimtraceDisplayCheck, WorksOutQtsRatioOfScreenToWindowPixels) {
    expectQtRatioFollowsTheDesktopAndTheUser(qtPixelRatio);
}
