#pragma once
// Keeping a refusal readable where the program's console closes with it.

namespace desktop {

// After a refusal's line: where the program's console is its own (Windows
// opens one for a double-click in Explorer and closes it the moment the
// program ends), says "Press a key to close this window" and waits for the
// key, so that the line can be read. Started from a console window, a
// script or with redirected streams, and on Linux, returns at once.
void holdOwnConsoleForReading();

}  // namespace desktop
