#!/bin/bash
# The tree's layers: each program (noise_removal/, edge_viewer/) includes
# only its own files and the desktop layer's public headers
# (desktop/include/); the desktop layer includes only its own files and
# names neither program; and no file of one program is a copy of one of the
# other. Includes in <...> are the system's and the libraries'.
# Usage: layers.sh [ROOT]; exits non-zero on any file out of its layer.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 1
source tests/lib/tally.sh

programs=(noise_removal edge_viewer)

sources_of() { find "$1" -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.inc' \) | sort; }

# The folders an include of a file in FOLDER may resolve into: its own
# folder, and for the programs the desktop layer's public headers.
allowed_roots() {
    case $1 in
        desktop) echo "desktop/include desktop" ;;
        *) echo "$1 desktop/include" ;;
    esac
}

# resolves FILE NAME: where #include "NAME" of FILE is found, searched as
# the compiler does for quotes (beside FILE, then the layer's include
# roots), printed as a path from the root; nothing when it is not ours.
resolves() {
    local file=$1 name=$2 layer=${1%%/*} place
    for place in "$(dirname "$file")" $(allowed_roots "$layer"); do
        if [ -f "$place/$name" ]; then realpath -m --relative-to=. "$place/$name"; return; fi
    done
}

# in_layer FILE TARGET: TARGET lies in a folder FILE's layer may include.
in_layer() {
    local layer=${1%%/*} allowed
    for allowed in $(allowed_roots "$layer"); do
        [[ $2 == "$allowed"/* ]] && return 0
    done
    return 1
}

strays=0
for layer in desktop "${programs[@]}"; do
    while read -r file; do
        while read -r name; do
            target=$(resolves "$file" "$name")
            # Ours but not found from here, or found outside the layer: the
            # other program's, or the desktop layer's own inside.
            if [ -z "$target" ] || ! in_layer "$file" "$target"; then
                fail "$file includes \"$name\", which is not its layer's to include"
                strays=$((strays + 1))
            fi
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    done < <(sources_of "$layer")
done
[ $strays -eq 0 ] && pass "every include stays in its layer"

named=$(grep -rliE 'speckwipe|rimtrace' desktop)
check "the desktop layer names neither program${named:+: $(tr '\n' ' ' <<<"$named")}" test -z "$named"

# The same file in both programs, once their names are set aside.
normalised_sums() {
    local file
    while read -r file; do
        sed 's/speckwipe/PROGRAM/g; s/rimtrace/PROGRAM/g' "$file" | sha256sum | cut -d' ' -f1
    done < <(sources_of "$1")
}
twins=$(comm -12 <(normalised_sums "${programs[0]}" | sort -u) <(normalised_sums "${programs[1]}" | sort -u))
check "no file of ${programs[0]} has a twin in ${programs[1]}" test -z "$twins"

# The build holds it too: each program's library gives its own folder
# only, and the desktop layer's targets give no program's.
check "each program's library gives only its own folder to include" \
    test "$(grep -h 'target_include_directories' noise_removal/CMakeLists.txt edge_viewer/CMakeLists.txt)" = \
         "$(printf 'target_include_directories(%s PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})\n' speckwipe_core rimtrace_core)"
check "the desktop layer's build names no program's folder" \
    bash -c '! grep -qE "noise_removal|edge_viewer|speckwipe_core|rimtrace_core" desktop/CMakeLists.txt'
finish
