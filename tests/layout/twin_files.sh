#!/bin/bash
# The two programs share no code: each carries its own copy of what they
# both need (the platform part, the picture file, the window fit and
# placing). This check holds the copies together: a file of one program
# with a twin of the same path in the other must read the same once the
# programs' names (their namespaces) are set aside, and every platform file
# must have its twin. Each program's own files are listed below.
# Usage: twin_files.sh [ROOT]; exits non-zero on any unpaired change.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
first=noise_removal
second=edge_viewer

# Same path in both programs, different by design.
own_files=(
    CMakeLists.txt
    main.cpp
    platform/standard_streams.hpp   # speckwipe keeps standard output for its trace
    platform/standard_streams.cpp
    platform/window_frame.hpp       # rimtrace's window adds a slider
    platform/linux/window_frame.cpp
    platform/windows/window_frame.cpp
)

is_own() {
    local own
    for own in "${own_files[@]}"; do [ "$own" = "$1" ] && return 0; done
    return 1
}

# The file with both programs' names replaced by one word.
normalised() { sed 's/speckwipe/PROGRAM/g; s/rimtrace/PROGRAM/g' "$1"; }

# Every file either program has, by its path inside the program's folder.
all_files() {
    (cd "$root/$first" && git ls-files --cached --others --exclude-standard 2>/dev/null || find . -type f)
    (cd "$root/$second" && git ls-files --cached --others --exclude-standard 2>/dev/null || find . -type f)
}

twins=0
failures=0
while read -r file; do
    is_own "$file" && continue
    a="$root/$first/$file" b="$root/$second/$file"
    if [ -f "$a" ] && [ -f "$b" ]; then
        twins=$((twins + 1))
        if ! diff -u --label "$first/$file" --label "$second/$file" <(normalised "$a") <(normalised "$b"); then
            echo "FAIL: $file differs between $first and $second: change both, or list it as each program's own"
            failures=$((failures + 1))
        fi
    elif [[ $file == platform/* ]]; then
        echo "FAIL: platform/${file#platform/} is in only one of $first and $second"
        failures=$((failures + 1))
    fi
done < <(all_files | sed 's|^\./||' | sort -u)

echo "$twins twin files compared, $failures failed"
[ "$twins" -gt 0 ] && [ "$failures" -eq 0 ]
