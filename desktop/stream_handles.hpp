#pragma once
// The C runtime's standard streams by number, as each system reaches them.

namespace desktop {

// The numbers of the standard streams, on every system.
constexpr int kStandardInput = 0, kStandardOutput = 1, kStandardError = 2;

// Whether something is open at the stream's number.
bool streamOpen(int stream);

// Puts the null device at the stream's number, opened for reading
// (standard input) or writing, when nothing is open there.
void fillWithNullDeviceIfClosed(int stream);

}  // namespace desktop
