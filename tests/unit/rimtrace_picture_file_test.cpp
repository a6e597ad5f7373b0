// rimtrace on this platform: where it looks for its picture, what it
// reports when it can't read it, and the display check.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <opencv2/core.hpp>

#include "edge_viewer/picture_file.hpp"
#include "edge_viewer/display_check.hpp"
#ifdef _WIN32
#include "tests/unit/display_cases_windows.hpp"
#else
#include "tests/unit/display_cases.hpp"
#endif
#include "tests/unit/path_cases.hpp"

namespace fs = std::filesystem;
using namespace rimtrace;

#ifdef _WIN32
TEST(RimtracePicturePath, IsKeptAsWrittenOnWindows) { expectPathKeptAsWritten(localPicturePath); }
#else
TEST(RimtracePicturePath, DriveRootStandsForTheWorkingDirectory) {
    expectDriveRootMeansWorkingDirectory(localPicturePath);
}
#endif

TEST(RimtracePictureFile, RefusesWhatItCannotDecode) {
    const fs::path path = fs::temp_directory_path() / "rimtrace_test_text.jpg";
    std::ofstream(path) << "just some text\n";
    cv::Mat picture;
    std::string reason;
    EXPECT_FALSE(readGreyPicture(path.string(), picture, reason));
    EXPECT_EQ(reason, "not a picture this program can decode");
    EXPECT_FALSE(readGreyPicture((path.string() + ".missing"), picture, reason));
    EXPECT_EQ(reason, "no such file");
    fs::remove(path);
}

#ifdef _WIN32
TEST(RimtraceDisplayCheck, RefusesASessionWithoutAVisibleDesktop) {
    expectHiddenWindowStationRefused(displayAvailable);
}
#else
TEST(RimtraceDisplayCheck, WaitsForASlowServerAndLeavesNoTimerRunning) {
    expectSlowServerWaitedForAndTimerOff(displayAvailable);
}

TEST(RimtraceDisplayCheck, RefusesAMissingSilentOrBusyWaylandCompositor) {
    expectWaylandRefusals(displayAvailable);
}

TEST(RimtraceDisplayCheck, WaitsForASlowCompositorAndFitsItsSmallestOutput) {
    expectSlowCompositorAndItsSmallestOutput(displayAvailable);
}

TEST(RimtraceDisplayCheck, RefusesAPlatformQtHasNoPluginFor) {
    expectUnknownPlatformRefused(displayAvailable);
}
#endif
