#!/bin/bash
# Installs a configured and built tree into a scratch prefix, builds the
# .deb the Debian way (scripts/build-deb), then checks what the package
# holds, what it depends on, that lintian finds nothing wrong with it, that
# its desktop entries and AppStream metadata pass their validators, and
# that its programs start from it.
# Usage: check_deb.sh BUILD_FOLDER PROJECT_VERSION
build=$1
version=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../lib/tally.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
# What the desktop's menus and software centres read, for each program.
menu_files() {
    local program
    for program in speckwipe rimtrace; do
        echo "share/applications/$program.desktop"
        echo "share/metainfo/example.speckrim.$program.metainfo.xml"
        for size in 16x16 24x24 32x32 48x48 64x64 128x128 256x256; do
            echo "share/icons/hicolor/$size/apps/$program.png"
        done
        echo "share/icons/hicolor/scalable/apps/$program.svg"
    done
}

# The toolbar's icons, in the programs' own theme folder.
toolbar_icons() {
    local theme=share/speckrim/icons/hicolor
    echo "$theme/index.theme $theme/icon-theme.cache $theme/16x16/actions/zoom-in.png $theme/48x48/actions/document-save.png"
}

for file in bin/speckwipe bin/rimtrace share/man/man1/speckwipe.1 share/man/man1/rimtrace.1 \
    share/speckrim/samples/circles.jpg share/speckrim/samples/vantrel.jpg $(menu_files) $(toolbar_icons); do
    check "cmake --install puts $file under the prefix" test -s "$work/prefix/$file"
done
for program in speckwipe rimtrace; do
    entry="$work/prefix/share/applications/$program.desktop"
    check "$program's desktop entry runs it from the prefix" \
        grep -qx "Exec=\"$work/prefix/bin/$program\"" "$entry"
    check "$program's desktop entry starts it in the prefix's sample pictures" \
        grep -qx "Path=$work/prefix/share/speckrim/samples" "$entry"
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
    ./usr/share/speckrim/samples/circles.jpg ./usr/share/speckrim/samples/vantrel.jpg \
    $(menu_files | sed 's|^|./usr/|') $(toolbar_icons | tr ' ' '\n' | sed 's|^|./usr/|'); do
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
# The validators' whole output is shown: desktop-file-validate must say
# nothing, appstreamcli give no warning and no error (its notes, such as
# that the ids' domain is no known one, are shown).
for program in speckwipe rimtrace; do
    entry="$work/root/usr/share/applications/$program.desktop"
    report=$(desktop-file-validate "$entry" 2>&1)
    status=$?
    [ -n "$report" ] && sed 's/^/    desktop-file-validate: /' <<<"$report"
    check "desktop-file-validate finds nothing in $program's entry (status $status)" \
        test "$status" = 0 -a -z "$report"
    check "$program's packaged entry runs /usr/bin/$program in the samples' folder" \
        grep -qx "Exec=\"/usr/bin/$program\"" "$entry" && grep -qx "Path=/usr/share/speckrim/samples" "$entry"
    metainfo="$work/root/usr/share/metainfo/example.speckrim.$program.metainfo.xml"
    report=$(appstreamcli validate --no-net "$metainfo" 2>&1)
    status=$?
    sed 's/^/    appstreamcli: /' <<<"$report"
    check "appstreamcli validate finds nothing wrong in $program's metadata (status $status)" \
        test "$status" = 0 -a -z "$(grep -E '^[EW]:' <<<"$report")"
done
mkdir "$work/run"
for program in speckwipe rimtrace; do
    message=$(cd "$work/run" && env -u DISPLAY "$work/root/usr/bin/$program" 2>&1)
    status=$?
    check "the packaged $program starts and refuses with no picture: $message" \
        grep -q "^$program: cannot read $work/run/" <<<"$message"
    check "the packaged $program ends with status 1 (got $status)" test "$status" = 1
done
finish
