// rimtrace's picture: what it reports when it can't read it.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <opencv2/core.hpp>

#include "picture_file.hpp"
#include "scratch_folder.hpp"

namespace fs = std::filesystem;
using namespace rimtrace;

TEST(RimtracePictureFile, RefusesWhatItCannotDecode) {
    const fs::path folder = scratchFolder("rimtrace_test_");
    const fs::path path = folder / "text.jpg";
    std::ofstream(path) << "just some text\n";
    cv::Mat picture;
    std::string reason;
    EXPECT_FALSE(readGreyPicture(path.string(), picture, reason));
    EXPECT_EQ(reason, "not a picture this program can decode");
    EXPECT_FALSE(readGreyPicture((path.string() + ".missing"), picture, reason));
    EXPECT_EQ(reason, "no such file");
    fs::remove_all(folder);
}
