# Shared steps of the end-to-end tests: a private X display, waiting for
# windows and processes, keys, screenshots, and a pass/fail tally.
# Sourced by the test scripts; needs Xvfb, xdotool and ImageMagick's import.

set -u
passes=0
failures=0

pass() { echo "ok: $1"; passes=$((passes + 1)); }
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# check "what" command...: records whether the command succeeds.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# Prints the tally in the plain form and exits non-zero on any failure.
finish() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}

cleanup() {
    [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}

# Starts Xvfb on a display number it picks itself (-displayfd) and a
# scratch folder $work; both go away when the script exits. -noreset: by
# default Xvfb resets whenever its last client leaves, which every xdotool
# or import call does here, and a reset drops a program that is connecting
# at that moment. A desktop always has clients (its window manager), so
# keeping the server up is what a user's session does.
start_display() {
    work=$(mktemp -d)
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    trap cleanup EXIT
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    local tries=0
    while [ ! -s "$work/display" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
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
    local tenths=$(($1 * 10))
    while kill -0 "$program_pid" 2>/dev/null && [ $tenths -gt 0 ]; do
        sleep 0.1
        tenths=$((tenths - 1))
    done
    if kill -0 "$program_pid" 2>/dev/null; then
        program_status=timeout
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
    local tries=0 id="" limit=$((${2:-10} * 10))
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

# screen_shows WINDOW_ID screen_check-arguments...: retries for a few
# seconds, since a new window may not be painted yet. The shot is the last
# argument handed to screen_check.
screen_shows() {
    local id=$1
    shift
    local tries=0
    while [ $tries -lt 25 ]; do
        import -window "$id" "png:$work/shot.png" 2>/dev/null &&
            "$screen_check" "$@" "$work/shot.png" && return 0
        sleep 0.2
        tries=$((tries + 1))
    done
    return 1
}

# drag_slider_left WINDOW_ID: drags the slider's handle 200 pixels to the
# left with the mouse, as a user would. Finds the handle with $screen_check.
drag_slider_left() {
    import -window "$1" "png:$work/shot.png"
    local x y
    read -r x y < <("$screen_check" handle "$work/shot.png")
    [ -n "$x" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$1")"
    x=$((X + x))
    y=$((Y + y))
    xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2 \
        mousemove $((x - 100)) "$y" sleep 0.1 mousemove $((x - 200)) "$y" sleep 0.2 mouseup 1
}
