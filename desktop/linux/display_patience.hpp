#pragma once
// How long the programs wait for a display before they refuse, the same for
// an X server and a Wayland compositor.

#include <chrono>

namespace desktop {

// How long an X server or a Wayland compositor may take to accept us and to
// answer: a hung or unreachable one is refused once it is up.
constexpr std::chrono::seconds kDisplayPatience(5);

// How often a connection that has to wait is tried again, or interrupted
// again once the patience is up, so that each further address fails fast.
constexpr std::chrono::milliseconds kDisplayRetryInterval(50);

}  // namespace desktop
