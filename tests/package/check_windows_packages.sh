#!/bin/bash
# The Windows ZIP and installer: the ZIP's files, the notices of every
# library the programs link (read from the link commands CMake wrote, so
# that a library added to the build without its notice fails here), the
# programs' version information, icons and manifests (exe_resources.py,
# with python3-pefile), and that the ZIP and the MSI made from a second
# build of the programs, in another folder, are byte-identical. What the
# installer does is checked under Wine (tests/e2e/windows_e2e.sh).
# Usage: check_windows_packages.sh BUILD_FOLDER SECOND_BUILD_FOLDER
build=$1
again=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../lib/tally.sh"

zip=$(ls "$build"/speckrim-*-windows-x86_64.zip 2>/dev/null | head -n 1)
check "the ZIP is made" test -n "$zip"
[ -n "$zip" ] || finish
members=$(unzip -Z1 "$zip" | sed 's|^[^/]*/||')
for file in speckwipe.exe rimtrace.exe circles.jpg vantrel.jpg README.txt LICENSE.txt; do
    check "the ZIP holds $file" grep -qx "$file" <<<"$members"
done
check "the ZIP's members are sorted" test "$(unzip -Z1 "$zip")" = "$(unzip -Z1 "$zip" | LC_ALL=C sort)"
msi=${zip%.zip}.msi
check "SHA256SUMS lists the ZIP and the MSI" \
    test "$(awk '{print $2}' "$build/SHA256SUMS")" = "$(basename "$zip")"$'\n'"$(basename "$msi")"

# notice_for LIBRARY: where in the ZIP the notice that covers it lies.
notice_for() {
    case $1 in
        libspeckwipe_core.a | librimtrace_core.a | libdesktop.a) echo LICENSE.txt ;;  # ours
        libopencv_*) echo licenses/opencv/ ;;
        libjpeg*) echo licenses/libjpeg-turbo/ ;;
        libpng*) echo licenses/libpng1.6/ ;;
        libz.a | -lz) echo licenses/zlib/ ;;
        libstdc++* | libgcc* | -lstdc++ | -lgcc*) echo licenses/gcc-runtime-libraries/ ;;
        # The C runtime, winpthreads and Windows' import libraries.
        -l*) echo licenses/mingw-w64-runtime-and-winpthreads/ ;;
        *) echo "" ;;
    esac
}
# What each program links: the libraries on its link line (CMake writes
# those of a MinGW link into linkLibs.rsp beside link.txt) but our objects
# (objects.a) and the .exe's own import library (-Wl,--out-implib), and the
# runtime that -static always brings.
link_commands=$(find "$build" -path '*/CMakeFiles/speckwipe.dir/link*' -o -path '*/CMakeFiles/rimtrace.dir/link*')
check "CMake's link commands of both programs are found" test "$(grep -c link.txt <<<"$link_commands")" = 2
linked=$(cat $link_commands | tr -d '"' | tr ' ' '\n' | grep -E '\.a$|^-l' |
    grep -vE '^-Wl|(^|/)objects\.a$' | sed 's|.*/||' | sort -u)
declare -A covered
for library in $linked libstdc++ libgcc -lwinpthread -lmsvcrt; do
    notice=$(notice_for "$library")
    if [ -z "$notice" ]; then fail "the ZIP holds a notice for $library"; continue; fi
    covered[$notice]="${covered[$notice]:-}$library "
done
for notice in "${!covered[@]}"; do
    check "the ZIP holds $notice, the notice of ${covered[$notice]}" grep -q "^$notice" <<<"$members"
done
echo "    notices: $(grep '^licenses/' <<<"$members" | tr '\n' ' ')"

# The programs' own resources, read back from the ZIP's .exe files.
version=$(basename "$zip" | sed 's/^speckrim-//; s/-windows-x86_64\.zip$//')
programs=$(mktemp -d)
unzip -q -j "$zip" '*.exe' -d "$programs"
check "both .exe files carry version $version, an icon and their manifest" \
    /usr/bin/python3 "$here/exe_resources.py" "$version" "$programs/speckwipe.exe" "$programs/rimtrace.exe"
rm -rf "$programs"

for package in "$zip" "$msi"; do
    echo "    $(sha256sum "$package" | cut -c1-64) $package"
    echo "    $(sha256sum "$again/$(basename "$package")" | cut -c1-64) $again/$(basename "$package")"
    check "a second build in another folder gives the same ${package##*.}" cmp -s "$package" "$again/$(basename "$package")"
done
finish
