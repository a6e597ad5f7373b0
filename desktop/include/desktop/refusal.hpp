#pragma once
// How a program refuses to go on: one line on stderr that names the program
// and says why, the same in every phase of its run, then exit status 1 once
// the user could read the line.

#include <functional>
#include <string>

#include <opencv2/core.hpp>

#include "desktop/display.hpp"
#include "desktop/standard_streams.hpp"

namespace desktop {

// What the lines of a program's refusals name.
struct Program {
    std::string name;         // starts each line
    std::string picturePath;  // the fixed path, as the program writes it
    std::string output;       // what it writes to standard output ("the trace"), or empty
};

// The picture's path as the user should see it: absolute where it can be,
// and as written when it is already (the fixed path itself, on Windows).
std::string shownPath(const Program& program);

// Readies the standard streams (standard_streams.hpp); false, having said
// why, when the program's output has nowhere to go.
bool checkStandardStreams(const Program& program);

// Sends what the program wrote to standard output on; false, having said
// why, when it did not all get there.
bool deliverOutput(const Program& program);

// Loads the program's picture as 8-bit grey; false, having said why, when
// it cannot.
bool loadPicture(const Program& program, cv::Mat& picture);

// Chooses the display (display.hpp); false, having said why, when no
// window could open: OpenCV's Qt backend would abort the process with a
// core dump instead.
bool checkDisplay(const Program& program, DisplayRoom& room);

// Ends a refused run: status 1, once the user could read why.
int refused();

// Runs the program's work and returns its status; where memory runs out
// (loading, filtering, drawing), says so for picture (its size once it is
// loaded) and refuses instead.
int refuseWhereMemoryRunsOut(const Program& program, const cv::Mat& picture, const std::function<int()>& work);

}  // namespace desktop
