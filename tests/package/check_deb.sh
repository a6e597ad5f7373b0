#!/bin/bash
# Installs a configured and built tree into a scratch prefix, builds the
# .deb the Debian way (scripts/build-deb), then checks what the package
# holds, what it depends on, that lintian finds nothing wrong with it, and
# that its programs start from it.
# Usage: check_deb.sh BUILD_FOLDER PROJECT_VERSION
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../lib/tally.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
for file in bin/speckwipe bin/rimtrace share/man/man1/speckwipe.1 share/man/man1/rimtrace.1 \
    share/speckrim/samples/circles.jpg share/speckrim/samples/vantrel.jpg; do
    check "cmake --install puts $file under the prefix" test -s "$work/prefix/$file"
done

"$here/../../scripts/build-deb" "$work/out" >"$work/build-deb.log" 2>&1 || { cat "$work/build-deb.log"; exit 1; }
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -n 1)
check "scripts/build-deb makes a .deb" test -n "$deb"
[ -n "$deb" ] || finish
check "the package's version is the project's, $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
check "SHA256SUMS lists the package" grep -q " $(basename "$deb")\$" "$work/out/SHA256SUMS"

# Errors and warnings fail; informational tags are shown, and those the
# package accepts are overridden in debian/speckrim.lintian-overrides.
lintian --display-info --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1
status=$?
grep -v 'root privileges' "$work/lintian.log" | sed 's/^/    lintian: /'
check "lintian finds no error and no warning (status $status)" test "$status" = 0

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/speckwipe ./usr/bin/rimtrace \
    ./usr/share/man/man1/speckwipe.1.gz ./usr/share/man/man1/rimtrace.1.gz \
    ./usr/share/doc/speckrim/copyright ./usr/share/doc/speckrim/changelog.gz \
    ./usr/share/speckrim/samples/circles.jpg ./usr/share/speckrim/samples/vantrel.jpg; do
    check "the package holds $file" grep -qx "$file" <<<"$contents"
done
check "the package holds nothing under build or test names" \
    test -z "$(grep -E 'test|bench|fuzz|make_samples|screen_check' <<<"$contents")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "    Depends: $depends"
for library in libopencv-core libopencv-imgcodecs libopencv-highgui libwayland-client0 libc6 \
    "libstdc[+][+]6"; do
    check "Depends names $library" grep -qE "(^|, )$library[0-9a-z.]* " <<<"$depends"
done
check "Depends leaves out imgproc: the programs don't link it" \
    test -z "$(grep -o 'libopencv-imgproc' <<<"$depends")"
check "Recommends Qt's Wayland plugin, for windows on Wayland desktops" \
    test "$(dpkg-deb -f "$deb" Recommends)" = qtwayland5

dpkg-deb -x "$deb" "$work/root"
mkdir "$work/run"
for program in speckwipe rimtrace; do
    message=$(cd "$work/run" && env -u DISPLAY "$work/root/usr/bin/$program" 2>&1)
    status=$?
    check "the packaged $program starts and refuses with no picture: $message" \
        grep -q "^$program: cannot read $work/run/" <<<"$message"
    check "the packaged $program ends with status 1 (got $status)" test "$status" = 1
done
finish
