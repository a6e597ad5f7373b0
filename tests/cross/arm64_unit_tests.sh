#!/bin/bash
# Both programs and their unit tests cross-built for arm64 (aarch64) with
# Debian's g++-aarch64-linux-gnu against an arm64 Debian of each release
# named, and the unit tests run under qemu-aarch64, where the dispatch
# picks the NEON kernels.
# The arm64 root is unpacked, not installed: debootstrap --foreign fetches
# and resolves the packages, and each is extracted in place, so no arm64
# code runs to make it. Made once per release and cached in $CROSS_CACHE
# (default /var/cache/speckrim-arm64); the mirror is the one this machine's
# apt sources name.
# Needs root, debootstrap, g++-aarch64-linux-gnu and qemu-user.
# Usage: tests/cross/arm64_unit_tests.sh RELEASE...  (e.g. bookworm trixie)
set -u
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
cache=${CROSS_CACHE:-/var/cache/speckrim-arm64}
source "$here/../fresh_machine/mirror.sh"
[ $# -gt 0 ] || { echo "usage: $0 RELEASE..." >&2; exit 2; }
# What the build links and the tests need, as arm64 packages.
packages=libopencv-dev,libxcb1-dev,libwayland-dev,libgtest-dev,libc6-dev

# sysroot RELEASE: prints the cached arm64 root's folder, making it once.
sysroot() {
    local folder="$cache/$1" deb
    # Made anew when the list of packages changed since.
    if [ "$(cat "$folder/.complete" 2>/dev/null)" != "$packages" ]; then
        rm -rf --one-file-system "$folder"
        mkdir -p "$cache"
        debootstrap --arch=arm64 --foreign --variant=minbase --include="$packages" \
            "$1" "$folder" "$(debian_mirror)" >"$cache/$1.log" 2>&1 ||
            { tail -n 20 "$cache/$1.log" >&2; return 1; }
        for deb in "$folder"/var/cache/apt/archives/*.deb; do dpkg-deb -x "$deb" "$folder"; done
        rm -f "$folder"/var/cache/apt/archives/*.deb
        echo "$packages" >"$folder/.complete"
    fi
    echo "$folder"
}

passes=0
failures=0
for release in "$@"; do
    started=$SECONDS
    root=$(sysroot "$release") || { echo "FAIL: $release: no arm64 root"; failures=$((failures + 1)); continue; }
    made=$((SECONDS - started))
    build="$project/build-arm64-$release"
    mkdir -p "$build"
    log="$build/cross-build.log"
    if cmake -S "$project" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$project/cmake/aarch64-linux-gnu.cmake" \
            -DARM64_SYSROOT="$root" -DBUILD_BENCHMARKS=OFF \
            -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST >"$log" 2>&1 &&
        cmake --build "$build" -j2 --target speckwipe rimtrace speckwipe_tests rimtrace_tests desktop_tests >>"$log" 2>&1; then
        built=$((SECONDS - started - made))
        for suite in speckwipe_tests rimtrace_tests desktop_tests; do
            qemu-aarch64 -L "$root" -E LD_LIBRARY_PATH="$root/usr/lib/aarch64-linux-gnu/blas:$root/usr/lib/aarch64-linux-gnu/lapack" \
                "$build/bin/$suite" >"$build/$suite.log" 2>&1
            status=$?
            echo "arm64 $release $suite: $(grep -E '^\[  (PASSED|FAILED)  \] [0-9]+ test' "$build/$suite.log" | head -n 2 | tr '\n' ' ')(status $status)"
            if [ $status -eq 0 ]; then passes=$((passes + 1)); else
                failures=$((failures + 1)); grep -E '^\[  FAILED' "$build/$suite.log"; fi
        done
        echo "arm64 $release: root $made s (cached when 0), build $built s, tests $((SECONDS - started - made - built)) s"
    else
        echo "FAIL: $release: the arm64 cross build"
        tail -n 30 "$log"
        failures=$((failures + 1))
    fi
done
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
