#!/bin/bash
# The Windows build under Wine, on a private X display with openbox: the
# unit suites, then both programs as a Windows user runs them, reading the
# fixed paths on drive C: literally while started from another folder.
# Wine's drive C: is the folder drive_c of a Wine prefix made for the run.
# Usage: windows_e2e.sh WINDOWS_BUILD_FOLDER SCREEN_CHECK SAMPLES_FOLDER
#   (SCREEN_CHECK and the samples come from the Linux build)
bin=$1/bin
screen_check=$2
samples=$3
source "$(dirname "$0")/../lib/tally.sh"
source "$(dirname "$0")/../lib/runs.sh"
source "$(dirname "$0")/../lib/x_desktop.sh"
source "$(dirname "$0")/slider_steps.sh"
start_scratch
start_x_desktop

# Wine starts helper processes (wineserver, services) that outlive the
# program and keep whatever it had open: a session started first, with its
# streams on /dev/null, serves every later run and holds no test's output.
# It starts on the display, or Wine takes a 1024x768 screen for good.
start_wine() {
    export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    mkdir "$WINEPREFIX"
    wineserver -p
    wine cmd /c exit </dev/null >/dev/null 2>&1
    drive_c="$WINEPREFIX/drive_c"
    on_exit 'wineserver -k 2>/dev/null'
}

# Each suite once: they share no state with the programs' runs below.
unit_suites() {
    local suite summary status
    for suite in speckwipe_tests rimtrace_tests desktop_tests; do
        wine "$bin/$suite.exe" </dev/null >"$work/$suite.log" 2>&1
        status=$?
        summary=$(grep -E '^\[  (PASSED|FAILED)  \] [0-9]+ test' "$work/$suite.log" | head -n 2 | tr '\n' ' ')
        echo "    windows $suite: $summary(status $status)"
        check "windows $suite under Wine" test "$status" = 0 || grep -E '^\[  FAILED' "$work/$suite.log"
    done
}

# The folder the programs start from: not drive C:'s root, which they read.
elsewhere="$work/elsewhere"

# Removes the pictures from drive C: and puts back those given: NAME=FILE...
pictures_on_c() {
    rm -f "$drive_c/circles.jpg" "$drive_c/vantrel.jpg"
    local each
    for each in "$@"; do cp "${each#*=}" "$drive_c/${each%%=*}"; done
}

speckwipe_run() {
    pictures_on_c circles.jpg="$samples/circles.jpg"
    start_program "$elsewhere" wine "$bin/speckwipe.exe"
    local before after
    before=$(wait_window x "my window" 30)
    check "speckwipe: the first window opens" test -n "$before"
    check "speckwipe: the trace, with Windows line ends, is the expected one" \
        cmp -s <(tr -d '\r' <"$work/out") <("$screen_check" trace "$samples/circles.jpg")
    check "speckwipe: the first window shows C:\\circles.jpg pixel for pixel" \
        screen_shows x "$screen_check" "$before" grey "$samples/circles.jpg" || keep_shot speckwipe-first
    x_press_key "$before" a
    after=$(wait_window x "my window 2")
    check "speckwipe: a key opens the second window" test -n "$after"
    check "speckwipe: the second window shows the median-filtered picture" \
        eventually second_window_shows || { keep_shot speckwipe-second; xwininfo -id "$after" | grep -E "Absolute|Width|Height"; }
    x_press_key "$after" Return
    wait_program_end 10
    check "speckwipe: the second key ends it with status 0 (got $program_status)" test "$program_status" = 0
    check "speckwipe: nothing goes to stderr" test ! -s "$work/err"
}

# second_window_shows: "my window 2", found anew and raised, shows the
# median-filtered sample. A new window may open under one that keeps the
# focus, and a screenshot of a covered window shows what covers it; once,
# under load, the shot was a 314x295 corner of the filtered picture, as if
# Wine had not finished placing or sizing the window.
second_window_shows() {
    local id
    id=$(x_window_id "my window 2")
    [ -n "$id" ] && x_activate "$id" && x_shoot "$id" "$work/shot.png" &&
        "$screen_check" median "$samples/circles.jpg" "$work/shot.png"
}

# keep_shot NAME: keeps the last screenshot beside the build, for a look.
keep_shot() { cp "$work/shot.png" "$bin/../failed-$1.png" && echo "    its last screenshot: $bin/../failed-$1.png"; }

rimtrace_run() {
    pictures_on_c vantrel.jpg="$samples/vantrel.jpg"
    shown_picture="$samples/vantrel.jpg"
    start_program "$elsewhere" wine "$bin/rimtrace.exe"
    local window
    window=$(wait_window x "my window" 30)
    check "rimtrace: the window opens" test -n "$window"
    check "rimtrace: the first map is C:\\vantrel.jpg's at threshold 100, pixel for pixel" \
        screen_shows x "$screen_check" "$window" edges "$samples/vantrel.jpg" 100 || keep_shot rimtrace-first
    check "rimtrace: the slider's band spans the window" band_spans_window "$window"
    check "rimtrace: the trackbar's thumb can be dragged" drag_slider "$screen_check" win32-thumb "$window" 2000
    check "rimtrace: a drag to the right end shows the map at 255" eventually shows_threshold "$screen_check" "$shown_picture" "$window" 255
    x_press_key "$window" Escape
    wait_program_end 5
    check "rimtrace: Esc ends it with status 0 (got $program_status)" test "$program_status" = 0
    check "rimtrace: nothing goes to stdout or stderr" test ! -s "$work/out" -a ! -s "$work/err"
}

# band_spans_window WINDOW_ID: the slider's band, light grey above the map,
# is light across at least 95 % of the window's width (row 5 of a shot).
band_spans_window() {
    import -window "$1" "png:$work/shot.png" || return 1
    local width light
    width=$(identify -format '%w' "$work/shot.png")
    light=$(convert "$work/shot.png" -crop "${width}x1+0+5" +repage -colorspace gray -threshold 70% \
        -format '%[fx:round(mean*w)]' info:)
    echo "    the band is light across $light of the window's $width pixels"
    [ $((light * 100)) -ge $((width * 95)) ]
}

opens() { wait_window x "$1" 30 >/dev/null; }

# Closing a window through the window manager counts as its key.
closing() {
    pictures_on_c circles.jpg="$samples/circles.jpg" vantrel.jpg="$samples/vantrel.jpg"
    start_program "$elsewhere" wine "$bin/speckwipe.exe"
    wait_window x "my window" 30 >/dev/null && x_close_window "my window"
    check "speckwipe: closing the first window opens the second" opens "my window 2"
    x_close_window "my window 2"
    wait_program_end 10
    check "speckwipe: closing the second ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
    start_program "$elsewhere" wine "$bin/rimtrace.exe"
    wait_window x "my window" 30 >/dev/null && x_close_window "my window"
    wait_program_end 10
    check "rimtrace: closing the window ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
}

# A 12-megapixel picture on a 1920x1080 screen: each window fits in the
# work area Windows reports (Wine's, from the window manager's), once it
# has its fitted size (Wine first shows it at a default size).
large_picture() {
    local name window
    convert -size 4000x3000 gradient:gray20-gray80 -swirl 200 "jpg:$work/large.jpg"
    pictures_on_c circles.jpg="$work/large.jpg" vantrel.jpg="$work/large.jpg"
    start_program "$elsewhere" wine "$bin/speckwipe.exe"
    window=$(wait_window x "my window" 30)
    check "speckwipe, a 4000x3000 picture: \"my window\" fits in the work area" \
        eventually fitted_inside "$window"
    keep_pressing x "$window" space window_open x "my window 2"
    window=$(wait_window x "my window 2")
    check "speckwipe, a 4000x3000 picture: \"my window 2\" fits in the work area" \
        eventually fitted_inside "$window"
    keep_pressing x "$window" space program_ended
    wait_program_end 10
    check "speckwipe, a 4000x3000 picture: keys end it with status 0 (got $program_status)" \
        test "$program_status" = 0
    start_program "$elsewhere" wine "$bin/rimtrace.exe"
    window=$(wait_window x "my window" 30)
    check "rimtrace, a 4000x3000 picture: the window fits in the work area" \
        eventually fitted_inside "$window"
    keep_pressing x "$window" Escape program_ended
    wait_program_end 10
    check "rimtrace, a 4000x3000 picture: Esc ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
}

# fitted_inside WINDOW_ID: wider than 1000 pixels, as a 4000x3000 picture
# fitted to this work area is, and inside the work area.
fitted_inside() {
    [ -n "$1" ] && [ "$(xwininfo -id "$1" | awk '/Width:/ {print $2}')" -gt 1000 ] && inside_work_area "$1"
}

# The picture missing from drive C: is refused, named as written.
refusal() {
    pictures_on_c
    start_program "$elsewhere" wine "$bin/speckwipe.exe"
    wait_program_end 10
    check "speckwipe without C:\\circles.jpg: status 1 (got $program_status)" test "$program_status" = 1
    check "speckwipe without C:\\circles.jpg: says so, naming the path as written" \
        test "$(tr -d '\r' <"$work/err")" = "speckwipe: cannot read C://circles.jpg: no such file"
    check "speckwipe without C:\\circles.jpg: no trace" test ! -s "$work/out"
}

# wait_window_named PATTERN: waits up to 30 s for a visible window whose
# name matches PATTERN; prints its id.
wait_window_named() {
    local id="" tries=0
    while [ -z "$id" ] && [ $tries -lt $((300 * slow)) ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -z "$id" ] && sleep 0.1
        tries=$((tries + 1))
    done
    echo "$id"
}

# console_shows PROGRAM LINE...: the console of the running PROGRAM
# (speckwipe.exe) shows these lines first (console_text reads it).
console_shows() {
    local program=$1
    shift
    rm -f "$drive_c/console.txt"
    wine "$bin/console_text.exe" "$program" 'C:\console.txt' </dev/null >/dev/null 2>&1 &&
        [ "$(tr -d '\r' <"$drive_c/console.txt" | grep -v '^$' | head -n $#)" = "$(printf '%s\n' "$@")" ]
}

# A refusal in a console of the program's own, as a double-click in
# Explorer opens (wineconsole PROGRAM stands for it): the console shows why
# and waits for a key before it closes. In a console a Command Prompt holds,
# the same refusal ends the program at once. Both with status 1.
console_refusals() {
    pictures_on_c
    local what="speckwipe double-clicked without C:\\circles.jpg" console
    start_program "$elsewhere" wine wineconsole "$bin/speckwipe.exe"
    # Read only once it waits: a reader attached to the console sooner
    # would share it, and the program would rightly not wait.
    console=$(wait_window_named 'speckwipe\.exe$')
    sleep $((3 * slow))
    check "$what: its console shows why and asks for a key" eventually console_shows speckwipe.exe \
        "speckwipe: cannot read C://circles.jpg: no such file" "Press a key to close this window"
    check "$what: it waits for that key" kill -0 "$program_pid"
    [ -n "$console" ] && x_press_key "$console" space
    wait_program_end 10
    check "$what: a key closes it, status 1 (got $program_status)" test "$program_status" = 1
    cp "$bin/speckwipe.exe" "$drive_c/"
    start_program "$elsewhere" wine wineconsole cmd /c 'C:\speckwipe.exe'
    wait_program_end 10
    check "speckwipe in a Command Prompt without C:\\circles.jpg: ends at once, status 1 (got $program_status)" \
        test "$program_status" = 1
}

start_wine
mkdir -p "$elsewhere"
unit_suites
speckwipe_run
rimtrace_run
closing
large_picture
refusal
console_refusals
finish
