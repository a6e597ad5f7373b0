# Running the programs under test: a scratch folder, a started program and
# its end, waits that retry, keys pressed until they act. What it sets:
#   work            the scratch folder (start_scratch), gone at exit
#   program_pid     the program start_program started
#   program_status  its exit status, or "timeout" (wait_program_end)
#   parts           where a program's window probe writes what it sees
#                   (PICTURE_PARTS; tests/e2e/window_probe.cpp), in $work
# Waits are multiplied by SPECKRIM_TEST_TIME_SCALE on slow (emulated)
# machines; see tests/CMakeLists.txt.

set -u
slow=${SPECKRIM_TEST_TIME_SCALE:-1}
exit_steps=()

# on_exit COMMAND: runs the command (one string) when the script exits,
# before those registered earlier: what started last stops first. The
# program under test stops before them all, the scratch folder goes after.
on_exit() { exit_steps=("$1" "${exit_steps[@]}"); }
run_exit_steps() {
    local step
    [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
    for step in "${exit_steps[@]}"; do eval "$step"; done
    wait 2>/dev/null
    rm -rf "$work"
}

# start_scratch: a scratch folder $work with a private XDG_RUNTIME_DIR,
# which Qt wants (mode 0700); both go at exit.
start_scratch() {
    work=$(mktemp -d)
    parts="$work/parts"
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    trap run_exit_steps EXIT
}

# start_program FOLDER COMMAND...: runs the command there with no stdin;
# output in $work/out and $work/err, pid in $program_pid.
start_program() {
    local folder=$1
    shift
    (cd "$folder" && exec "$@" </dev/null >"$work/out" 2>"$work/err") &
    program_pid=$!
}

# Waits up to $1 seconds for the program to end; sets $program_status.
wait_program_end() {
    local tenths=$(($1 * 10 * slow))
    while kill -0 "$program_pid" 2>/dev/null && [ $tenths -gt 0 ]; do
        sleep 0.1
        tenths=$((tenths - 1))
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        program_status=timeout
        kill -9 "$program_pid"  # so that its window can't stand in for the next one's
        wait "$program_pid" 2>/dev/null
        program_pid=""
        return 1
    fi
    wait "$program_pid"
    program_status=$?
    program_pid=""
}

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }

# within TENTHS COMMAND...: retries the command every tenth of a second
# until it succeeds, for up to TENTHS tenths.
within() {
    local tenths=$(($1 * slow))
    shift
    while [ $tenths -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tenths=$((tenths - 1))
    done
    return 1
}

# eventually COMMAND...: retries the command for up to 5 s, for what the
# programs and the window manager do a moment after a window opens.
eventually() { within 50 "$@"; }

# soon COMMAND...: the command succeeds within 2 s (the programs size and
# move a large window a second time about 200 ms after it opens).
soon() { within 20 "$@"; }

# wait_window DESKTOP NAME [SECONDS]: waits up to SECONDS (default 10) for
# a visible window named exactly NAME on the desktop (x or sway, the
# prefix of its steps); prints its id.
wait_window() {
    local desktop=$1 name=$2 tries=0 id="" limit=$((${3:-10} * 10 * slow))
    while [ -z "$id" ] && [ $tries -lt $limit ]; do
        id=$("${desktop}_window_id" "$name")
        [ -z "$id" ] && sleep 0.1
        tries=$((tries + 1))
    done
    [ -n "$id" ] && echo "$id"
}

# keep_pressing DESKTOP WINDOW_ID KEY CONDITION...: presses the key, then
# gives the program 5 s to make the condition (a command) true; tries for
# up to a minute. A key sent while Qt is still settling can be lost: under
# valgrind, or on a fresh system whose first Qt start builds the font cache.
keep_pressing() {
    local desktop=$1 window=$2 key=$3 tries=0 tenths
    shift 3
    while [ $tries -lt 12 ]; do
        "${desktop}_press_key" "$window" "$key"
        for tenths in $(seq $((50 * slow))); do
            "$@" && return 0
            sleep 0.1
        done
        tries=$((tries + 1))
    done
    return 1
}

# press_once DESKTOP WINDOW_ID KEY CONDITION...: presses the key once,
# then gives the program 5 s to make the condition (a command) true: the
# programs lose no key, not even one pressed while a window is placed.
press_once() {
    local desktop=$1 window=$2 key=$3
    shift 3
    "${desktop}_press_key" "$window" "$key"
    within 50 "$@"
}

# window_open DESKTOP NAME: a window of that name is open now.
window_open() { [ -n "$("${1}_window_id" "$2")" ]; }

# screen_shows DESKTOP SCREEN_CHECK WINDOW_ID screen_check-arguments...:
# retries for a few seconds, since a new window may not be painted yet. The
# window's shot is the last argument handed to SCREEN_CHECK.
screen_shows() {
    local desktop=$1 screen_check=$2 id=$3 tries=0
    shift 3
    [ -n "$id" ] || return 1  # a shot without a window would wait for a click
    while [ $tries -lt $((25 * slow)) ]; do
        "${desktop}_shoot" "$id" "$work/shot.png" && "$screen_check" "$@" "$work/shot.png" && return 0
        sleep 0.2
        tries=$((tries + 1))
    done
    return 1
}

# toolbar_icons_of PROGRAM: the theme of toolbar icons the build draws
# beside the program (bin/../share/speckrim/icons/hicolor), as installed.
toolbar_icons_of() { echo "$(cd "$(dirname "$1")/.." && pwd)/share/speckrim/icons/hicolor"; }

# Whether OpenCV's Qt toolbar asks the desktop's icon theme for its icons by
# name (Debian 12's OpenCV 4.6), rather than drawing its own (Debian 13's).
toolbar_icons_from_theme() {
    local highgui
    highgui=$(ldconfig -p | awk '/libopencv_highgui\.so/ {print $NF; exit}')
    [ -n "$highgui" ] && strings "$highgui" | grep -qx zoom-original
}

# shows_toolbar_icons DESKTOP WINDOW_ID SCALE: the window's toolbar shows
# the icons the programs bring, not its buttons' text: its zoom-original,
# the first after the arrows and the last to fold, is in a shot of the
# window, at 16 pixels times SCALE (Qt's scale). Where OpenCV draws its
# own icons, the theme's are not asked for: nothing to look for. Needs
# $screen_check and $icons (toolbar_icons_of).
shows_toolbar_icons() {
    if ! toolbar_icons_from_theme; then
        echo "    OpenCV's toolbar draws its own icons here"
        return 0
    fi
    screen_shows "$1" "$screen_check" "$2" icon "$icons/16x16/actions/zoom-original.png" "$3"
}

# True when the programs run under a user-mode emulator: an arm64 Debian on
# an x86-64 kernel, say. qemu answers uname with the emulated machine, but
# /proc/cpuinfo is still the kernel's, whose vendor_id only x86 has.
emulated() {
    case "$(dpkg --print-architecture)" in
        amd64 | i386) return 1 ;;
    esac
    grep -q '^vendor_id' /proc/cpuinfo
}

# picture_part NAME: the picture's part of the window NAME as Qt last laid
# it out (WIDTHxHEIGHT, window pixels), from the PICTURE_PARTS file
# $parts of the program's probe (tests/e2e/window_probe.cpp).
picture_part() { grep "^$1: [0-9]" "$parts" 2>/dev/null | tail -n 1 | sed 's/.*: //'; }

# not_moved NAME: the program never moved the window NAME (from the
# PICTURE_PARTS file, as picture_part): a window that fits stays where the
# window manager put it, wherever that is.
not_moved() { ! grep -q "^$1: moved" "$parts"; }

# part_is NAME WIDTHxHEIGHT: the picture's part is that size exactly, no
# band of the window's background above, below or beside the picture.
part_is() {
    echo "    the picture's part of \"$1\": $(picture_part "$1"), for $2"
    [ "$(picture_part "$1")" = "$2" ]
}

# part_keeps_aspect NAME WIDTH HEIGHT: the picture's part has the aspect of
# a WIDTHxHEIGHT picture, to the window pixel.
part_keeps_aspect() {
    local part
    part=$(picture_part "$1")
    echo "    the picture's part of \"$1\": $part, for a ${2}x$3 picture"
    [ -n "$part" ] || return 1
    local width=${part%x*} height=${part#*x} error
    error=$((width * $3 - height * $2))
    [ ${error#-} -le $(($2 > $3 ? $2 : $3)) ]
}
