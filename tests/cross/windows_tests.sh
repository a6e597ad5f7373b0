#!/bin/bash
# Both programs and their unit tests cross-built for Windows x86-64 with
# Debian's MinGW-w64 against a static OpenCV for Windows
# (scripts/build-opencv-windows, cached), the ZIP and the installer a
# Windows user downloads (scripts/package-windows), checked with
# tests/package/check_windows_packages.sh against a second build in another
# folder, then tests/e2e/windows_e2e.sh: the unit suites, both programs and
# the installer under Wine on a private X display. Each part says how long
# it took.
# The reference pictures and screen_check come from the Linux build in
# build/, made here when missing.
# Needs scripts/install-deps --windows (and --tests for the Linux build).
# Usage: tests/cross/windows_tests.sh
set -u
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
build="$project/build-windows"
started=$SECONDS
took() { echo "windows: $1 took $((SECONDS - started)) s"; started=$SECONDS; }
give_up() { echo "FAIL: $1"; tail -n 30 "$2"; exit 1; }

opencv=$("$project/scripts/build-opencv-windows") || { echo "FAIL: OpenCV for Windows"; exit 1; }
took "OpenCV for Windows ($(basename "$opencv"))"

mkdir -p "$build"
log="$build/cross-build.log"
# The sample pictures are drawn at build time by the Windows make_samples,
# under Wine, in a Wine prefix of the build's own (not ~/.wine).
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# cross_build FOLDER TARGETS...: configures and builds for Windows there,
# then makes the ZIP and the MSI (scripts/package-windows).
cross_build() {
    local folder=$1
    shift
    cmake -S "$project" -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$project/cmake/x86_64-w64-mingw32.cmake" \
        -DOpenCV_DIR="$opencv/lib/cmake/opencv4" -DBUILD_BENCHMARKS=OFF &&
        cmake --build "$folder" -j2 --target "$@" && "$project/scripts/package-windows" "$folder"
}
cross_build "$build" speckwipe rimtrace samples speckwipe_tests rimtrace_tests desktop_tests console_text >"$log" 2>&1 ||
    give_up "the Windows cross build" "$log"
echo "windows: $(cd "$build" && ls ./*.zip) holds: $(cd "$build" && unzip -Z1 ./*.zip | sed 's|^[^/]*/||' | tr '\n' ' ')"
took "the cross build, the ZIP and the MSI"

# The programs and the ZIP again, from another folder, to compare.
again="$project/build-windows-again"
cross_build "$again" speckwipe rimtrace samples >"$build/second-build.log" 2>&1 ||
    give_up "the second Windows build" "$build/second-build.log"
took "a second build of the programs, the ZIP and the MSI"
bash "$project/tests/package/check_windows_packages.sh" "$build" "$again"
zip_status=$?
took "the ZIP's files and notices, the ZIP's and the MSI's reproducibility"

native="$project/build"
{ cmake -S "$project" -B "$native" && cmake --build "$native" -j2 --target screen_check samples; } \
    >"$build/native-build.log" 2>&1 || give_up "the Linux build of screen_check" "$build/native-build.log"
took "the Linux build of screen_check and the samples"

bash "$project/tests/e2e/windows_e2e.sh" "$build" "$native/bin/screen_check" "$native/samples"
status=$?
took "the unit suites, end-to-end tests and installer under Wine"
[ "$status" = 0 ] && [ "$zip_status" = 0 ]
