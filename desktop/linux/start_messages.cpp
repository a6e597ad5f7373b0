#include "start_messages.hpp"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <sstream>

#include "stream_handles.hpp"

namespace desktop {

namespace {

// KDE Plasma's Qt integration, as it starts: its lookup of a setting under
// the program's name, which OpenCV leaves empty (twice), and its check that
// OpenGL works for Qt Quick, which no window of ours uses and which the
// start leaves out on X (QT_XCB_GL_INTEGRATION=none).
constexpr std::array<const char*, 3> kStartNoise = {
    "QSettings::value: Empty key passed",
    "QXcbIntegration: Cannot create platform OpenGL context, neither GLX nor EGL are enabled",
    "Warning: fallback to QtQuick software backend."};

// The ways the process can die while Qt starts, each of which would lose
// the held text; a handler must reach it, hence a file-wide copy.
constexpr std::array<int, 9> kDeadlySignals = {SIGABRT, SIGSEGV, SIGBUS, SIGILL, SIGFPE,
                                               SIGTERM, SIGINT,  SIGHUP, SIGQUIT};
HeldMessages heldForDeadlySignal;
std::array<struct sigaction, kDeadlySignals.size()> handlersBefore;

// Copies everything held to fd `to`, with calls a signal handler may make.
void copyHeld(int held, int to) {
    char chunk[4096];
    lseek(held, 0, SEEK_SET);
    for (ssize_t length; (length = read(held, chunk, sizeof chunk)) > 0;) {
        if (write(to, chunk, static_cast<size_t>(length)) < 0) return;
    }
}

// Lets nothing held be lost, then dies of the signal as it would have.
void writeHeldAndDie(int signal) {
    copyHeld(heldForDeadlySignal.held, heldForDeadlySignal.stderrCopy);
    dup2(heldForDeadlySignal.stderrCopy, kStandardError);
    raise(signal);  // SA_RESETHAND: the default action now
}

void watchDeadlySignals(bool on) {
    for (std::size_t i = 0; i < kDeadlySignals.size(); ++i) {
        if (on) {
            struct sigaction action {};
            action.sa_handler = writeHeldAndDie;
            action.sa_flags = SA_RESETHAND;
            sigaction(kDeadlySignals[i], &action, &handlersBefore[i]);
        } else {
            sigaction(kDeadlySignals[i], &handlersBefore[i], nullptr);
        }
    }
}

std::string heldText(int held) {
    std::string text;
    char chunk[4096];
    lseek(held, 0, SEEK_SET);
    for (ssize_t length; (length = read(held, chunk, sizeof chunk)) > 0;) {
        text.append(chunk, static_cast<std::size_t>(length));
    }
    return text;
}

}  // namespace

HeldMessages holdStartMessages() {
    static bool started = false;
    HeldMessages held;
    if (started) return held;
    started = true;
    held.held = memfd_create("qt start messages", MFD_CLOEXEC);
    held.stderrCopy = held.held < 0 ? -1 : dup(kStandardError);
    if (held.stderrCopy < 0 || dup2(held.held, kStandardError) < 0) {
        if (held.held >= 0) close(held.held);
        if (held.stderrCopy >= 0) close(held.stderrCopy);
        return HeldMessages{};
    }
    heldForDeadlySignal = held;
    watchDeadlySignals(true);
    return held;
}

void releaseStartMessages(HeldMessages& held) {
    if (held.held < 0) return;
    dup2(held.stderrCopy, kStandardError);
    watchDeadlySignals(false);
    const std::string text = withoutStartNoise(heldText(held.held));
    if (!text.empty() && write(kStandardError, text.data(), text.size()) < 0) {
        // stderr is gone: nowhere left to say anything
    }
    close(held.held);
    close(held.stderrCopy);
    held = HeldMessages{};
}

std::string withoutStartNoise(const std::string& text) {
    std::string kept;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        bool noise = false;
        for (const char* known : kStartNoise) noise = noise || line == known;
        if (!noise) kept += line + (lines.eof() ? "" : "\n");
    }
    return kept;
}

}  // namespace desktop
