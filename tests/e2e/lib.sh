# Shared steps of the end-to-end tests: a private X display, waiting for
# windows and processes, keys, screenshots, and a pass/fail tally.
# Sourced by the test scripts; needs Xvfb, openbox, wmctrl, xdotool, x11-utils
# and ImageMagick.

set -u
passes=0
failures=0
# Waits are multiplied by this on slow (emulated) machines; see tests/CMakeLists.txt.
slow=${SPECKRIM_TEST_TIME_SCALE:-1}

pass() { echo "ok: $1"; passes=$((passes + 1)); }
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# check "what" command...: records whether the command succeeds, and
# returns as it did.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; return 1; fi
}

# Prints the tally in the plain form and exits non-zero on any failure.
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}

cleanup() {
    [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}

# Starts a desktop: Xvfb on a display number it picks itself (-displayfd),
# 1920x1080 like a common screen, with the openbox window manager, and a
# scratch folder $work; all go away when the script exits. -noreset: by
# default Xvfb resets whenever its last client leaves, and a reset drops a
# program that is connecting at that moment; a desktop never resets.
start_display() {
    work=$(mktemp -d)
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    trap cleanup EXIT
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local tries=0
    while [ ! -s "$work/display" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
    # An absolute path: openbox leaves the working directory, and without its
    # file it would take the default one, which keeps Alt+Esc for itself.
    openbox --sm-disable --config-file "$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/openbox-rc.xml" \
        >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    tries=0
    while ! xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
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

# Prints the id of the visible window named exactly $1.
window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }

# Waits up to $2 seconds (default 10) for a visible window named exactly
# $1; prints its id.
wait_window() {
    local tries=0 id="" limit=$((${2:-10} * 10 * slow))
    while [ -z "$id" ] && [ $tries -lt $limit ]; do
        id=$(window_id "$1")
        [ -z "$id" ] && sleep 0.1
        tries=$((tries + 1))
    done
    [ -n "$id" ] && echo "$id"
}

# press_key WINDOW_ID KEY: gives the window the focus, then types the key.
press_key() {
    xdotool windowfocus --sync "$1" 2>/dev/null
    xdotool key "$2"
}

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

# True when the programs run under a user-mode emulator: an arm64 Debian on
# an x86-64 kernel, say. qemu answers uname with the emulated machine, but
# /proc/cpuinfo is still the kernel's, whose vendor_id only x86 has.
emulated() {
    case "$(dpkg --print-architecture)" in
        amd64 | i386) return 1 ;;
    esac
    grep -q '^vendor_id' /proc/cpuinfo
}

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
second_window_open() { [ -n "$(window_id "my window 2")" ]; }

# keep_pressing WINDOW_ID KEY CONDITION: presses the key, then gives the
# program 5 s to show CONDITION (a function); tries for up to a minute. A
# key sent while Qt is still settling can be lost: under valgrind, or on a
# fresh system whose first Qt start builds the font cache.
keep_pressing() {
    local window=$1 key=$2 condition=$3 tries=0 tenths
    while [ $tries -lt 12 ]; do
        press_key "$window" "$key"
        for tenths in $(seq $((50 * slow))); do
            "$condition" && return 0
            sleep 0.1
        done
        tries=$((tries + 1))
    done
    return 1
}

# screen_shows WINDOW_ID screen_check-arguments...: retries for a few
# seconds, since a new window may not be painted yet. The shot is the last
# argument handed to screen_check.
screen_shows() {
    local id=$1
    shift
    local tries=0
    [ -n "$id" ] || return 1  # import without a window waits for a click
    while [ $tries -lt $((25 * slow)) ]; do
        import -window "$id" "png:$work/shot.png" 2>/dev/null &&
            "$screen_check" "$@" "$work/shot.png" && return 0
        sleep 0.2
        tries=$((tries + 1))
    done
    return 1
}

# drag_slider WINDOW_ID PIXELS: drags the slider's handle that far (to the
# left when negative), or with -N% N percent of the way back to the
# groove's left end, with the mouse, as a user would. Finds the handle with
# $screen_check's $slider_finder: "handle" (Qt's slider; it needs some
# blue groove left of the handle) unless the script sets "win32-thumb"
# (the Win32 trackbar, which gives no groove end: no -N% there).
drag_slider() {
    import -window "$1" "png:$work/shot.png"
    local x y left distance=$2
    read -r x y left < <("$screen_check" "${slider_finder:-handle}" "$work/shot.png")
    [ -n "$x" ] || return 1
    [[ $distance == *% ]] && distance=$(((left - x) * ${distance//[-%]/} / 100))
    xdotool mousemove --window "$1" "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2 \
        mousemove --window "$1" $((x + distance / 2)) "$y" sleep 0.1 \
        mousemove --window "$1" $((x + distance)) "$y" sleep 0.2 mouseup 1
}

# Prints the thresholds whose edge map of $shown_picture the window shows now.
shown_thresholds() {
    import -window "$1" "png:$work/shot.png" 2>/dev/null &&
        "$screen_check" thresholds "$shown_picture" "$work/shot.png"
}

# shows_threshold WINDOW_ID T: the window shows the map at T (and maybe at
# others that give the same map).
shows_threshold() { [[ " $(shown_thresholds "$1") " == *" $2 "* ]]; }

# activate WINDOW_ID: makes it the active window, raised, through the
# window manager, as a user's click does.
activate() { timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null && sleep 0.3; }

# read_placement WINDOW_ID: sets $area (the work area: x y width height),
# $client (the window's inside: x y width height) and $frame (the window
# with the window manager's frame, _NET_FRAME_EXTENTS: left top right bottom).
read_placement() {
    local edge
    read -r -a area < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
    read -r -a edge < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r -a client < <(xwininfo -id "$1" | awk -F: '/Absolute upper-left|Width|Height/ {printf "%d ", $2}')
    frame=($((client[0] - edge[0])) $((client[1] - edge[2]))
        $((client[0] + client[2] + edge[1])) $((client[1] + client[3] + edge[3])))
}

# inside_work_area WINDOW_ID: the window with its frame lies inside the
# work area.
inside_work_area() {
    [ -n "$1" ] || return 1  # xwininfo without a window waits for a click
    read_placement "$1"
    echo "    work area ${area[*]:0:4}; window with its frame from ${frame[0]},${frame[1]} to ${frame[2]},${frame[3]}"
    [ "${frame[0]}" -ge "${area[0]}" ] && [ "${frame[1]}" -ge "${area[1]}" ] &&
        [ "${frame[2]}" -le $((area[0] + area[2])) ] && [ "${frame[3]}" -le $((area[1] + area[3])) ]
}

# fills_work_area WINDOW_ID: a picture taller than the work area allows (in
# its proportions) is shown as tall as it may be: the window's inside is as
# high as the work area less the 64 pixels the fit keeps for the window
# manager's title bar and borders, give or take 2, and it lies inside.
fills_work_area() {
    inside_work_area "$1" || return 1
    echo "    inside ${client[2]}x${client[3]}, for a work area ${area[3]} high"
    [ $((area[3] - 64 - client[3])) -le 2 ] && [ $((area[3] - 64 - client[3])) -ge -2 ]
}

# soon COMMAND...: the command succeeds within 2 s (the programs size and
# move a large window a second time about 200 ms after it opens).
soon() { within 20 "$@"; }

# left_where_placed WINDOW_ID: a window that fits is left where the window
# manager put it (openbox centres it), not moved to the work area's corner.
left_where_placed() {
    sleep 0.5
    read_placement "$1"
    echo "    work area ${area[*]:0:4}; window with its frame at ${frame[0]},${frame[1]}"
    [ "${frame[0]}" != "${area[0]}" ] || [ "${frame[1]}" != "${area[1]}" ]
}

# close_window NAME: asks the window manager to close the window, as its
# title bar's close button does.
close_window() { wmctrl -c "$1"; }
