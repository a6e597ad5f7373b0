// Refusals on Windows, where a double-click in Explorer gives the program a
// console of its own that closes the moment it ends.

#include "desktop/console_hold.hpp"

#include <windows.h>

#include <iostream>

namespace desktop {

namespace {

// True when no other program shares our console (a Command Prompt would),
// and both standard input and error are that console, not redirected: the
// console was opened for us and goes when we end. The console's process
// list is how console programs tell this apart.
bool consoleIsOurOwn() {
    DWORD processes[2];
    DWORD mode = 0;
    return GetConsoleProcessList(processes, 2) == 1 &&
           GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) &&
           GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode);
}

// Waits for a key to go down in the console, ignoring what was typed before.
void waitForKeyPress() {
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    FlushConsoleInputBuffer(input);
    INPUT_RECORD record{};
    DWORD read = 0;
    while (ReadConsoleInputW(input, &record, 1, &read) && read == 1) {
        if (record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown) return;
    }
}

}  // namespace

void holdOwnConsoleForReading() {
    if (!consoleIsOurOwn()) return;
    std::cerr << "Press a key to close this window" << std::endl;
    waitForKeyPress();
}

}  // namespace desktop
