#!/bin/bash
# The Debian package built twice from this tree (scripts/build-deb: each
# build in a scratch copy of its own, at its own time): the two .deb files
# must be byte-identical. Prints both checksums and lintian's verdict.
# Usage: tests/package/reproducible_deb.sh
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../lib/tally.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for build in first second; do
    "$here/../../scripts/build-deb" "$work/$build" >"$work/$build.log" 2>&1 || { cat "$work/$build.log"; exit 1; }
    echo "    $build build: $(cd "$work/$build" && sha256sum ./*.deb)"
done
check "two builds give the same .deb" cmp "$work"/first/*.deb "$work"/second/*.deb
lintian --display-info --fail-on error,warning "$work"/first/*.deb 2>&1 | grep -v 'root privileges' |
    sed 's/^/    lintian: /'
check "lintian finds no error and no warning" test "${PIPESTATUS[0]}" = 0
finish
