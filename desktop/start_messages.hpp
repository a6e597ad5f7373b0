#pragma once
// What the window system writes on stderr as it starts with the first
// window. One file per system behind this header (linux/ for Qt, windows/
// for OpenCV's Win32 windows).

#include <string>

namespace desktop {

// Stderr's own place and where the start's messages are held meanwhile;
// -1 when nothing is held.
struct HeldMessages {
    int stderrCopy = -1;
    int held = -1;
};

// Holds back what is written on stderr from here, the first time only: the
// window system starts with the first window. Should the process die
// meanwhile, what was held is written out first.
HeldMessages holdStartMessages();

// Writes what was held on stderr, but for the lines the window system's
// start writes whatever the program (sifted out by withoutStartNoise), and
// gives stderr back.
void releaseStartMessages(HeldMessages& held);

// The text without the lines that say nothing about the program or its
// desktop, which the window system writes at every start: where the desktop
// is KDE Plasma, Qt warns that its integration looked a setting up under
// the program's name, which OpenCV leaves empty, and that Qt Quick, which
// no window of ours uses, has no OpenGL on X.
std::string withoutStartNoise(const std::string& text);

}  // namespace desktop
