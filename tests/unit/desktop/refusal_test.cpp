// How a program refuses: one line on stderr naming the program and what
// it could not do, the same wherever in its run memory runs out.

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <string>

#include <opencv2/core.hpp>

#include "desktop/refusal.hpp"

using namespace desktop;

namespace {

const Program kTestProgram{"tester", "picture.jpg", ""};

std::string pathShown() { return (std::filesystem::current_path() / "picture.jpg").string(); }

// The status and the stderr of a run whose work is given.
int runCapturingStderr(const cv::Mat& picture, const std::function<int()>& work, std::string& said) {
    testing::internal::CaptureStderr();
    const int status = refuseWhereMemoryRunsOut(kTestProgram, picture, work);
    said = testing::internal::GetCapturedStderr();
    return status;
}

}  // namespace

TEST(Refusal, ShowsThePicturesPathAbsolute) { EXPECT_EQ(shownPath(kTestProgram), pathShown()); }

TEST(Refusal, MemoryRunningOutWhileLoadingNamesThePicture) {
    std::string said;
    EXPECT_EQ(runCapturingStderr(cv::Mat(), [] () -> int { throw std::bad_alloc(); }, said), 1);
    EXPECT_EQ(said, "tester: not enough memory for " + pathShown() + "\n");
}

TEST(Refusal, MemoryRunningOutLaterGivesThePicturesSizeToo) {
    const cv::Mat picture(2, 3, CV_8UC1);
    std::string said;
    const auto openCvOutOfMemory = [] () -> int { CV_Error(cv::Error::StsNoMem, "failed to allocate"); };
    EXPECT_EQ(runCapturingStderr(picture, openCvOutOfMemory, said), 1);
    EXPECT_EQ(said, "tester: not enough memory for " + pathShown() + " (3x2 pixels)\n");
    EXPECT_EQ(runCapturingStderr(picture, [] () -> int { throw std::bad_alloc(); }, said), 1);
    EXPECT_EQ(said, "tester: not enough memory for " + pathShown() + " (3x2 pixels)\n");
}

TEST(Refusal, OtherwiseTheWorksStatusAndErrorsPassThrough) {
    std::string said;
    EXPECT_EQ(runCapturingStderr(cv::Mat(), [] { return 0; }, said), 0);
    EXPECT_EQ(runCapturingStderr(cv::Mat(), [] { return 1; }, said), 1);
    EXPECT_EQ(said, "");
    const auto otherError = [] () -> int { CV_Error(cv::Error::StsBadArg, "not memory"); };
    EXPECT_THROW(refuseWhereMemoryRunsOut(kTestProgram, cv::Mat(), otherError), cv::Exception);
}
