// speckwipe's platform part on Linux: where its fixed path points, and the
// display check against X servers and Wayland compositors of the tests' own.

#include <gtest/gtest.h>

#include "display_cases.hpp"
#include "path_cases.hpp"
#include "platform/display.hpp"
#include "platform/linux/qt_scale.hpp"
#include "platform/picture_path.hpp"

using namespace speckwipe;

TEST(PicturePath, DriveRootStandsForTheWorkingDirectory) {
    expectDriveRootMeansWorkingDirectory(localPicturePath);
}

TEST(SpeckwipeDisplayCheck, WaitsForASlowServerAndLeavesNoTimerRunning) {
    expectSlowServerWaitedForAndTimerOff(chooseDisplay);
}

TEST(SpeckwipeDisplayCheck, RefusesAMissingSilentOrBusyWaylandCompositor) {
    expectWaylandRefusals(chooseDisplay);
}

TEST(SpeckwipeDisplayCheck, WaitsForASlowCompositorAndFitsItsSmallestOutput) {
    expectSlowCompositorAndItsSmallestOutput(chooseDisplay);
}

TEST(SpeckwipeDisplayCheck, RefusesAPlatformQtHasNoPluginFor) {
    expectUnknownPlatformRefused(chooseDisplay);
}

TEST(SpeckwipeDisplayCheck, WorksOutQtsRatioOfScreenToWindowPixels) {
    expectQtRatioFollowsTheDesktopAndTheUser(qtPixelRatio);
}
