#!/bin/bash
# The Windows build under Wine, on a private X display with openbox: the
# unit suites, then both programs as a Windows user runs them, reading the
# fixed paths on drive C: literally while started from another folder, then
# the installer in a fresh Wine prefix. Wine's drive C: is the folder
# drive_c of a Wine prefix made for the run.
# Usage: windows_e2e.sh WINDOWS_BUILD_FOLDER SCREEN_CHECK SAMPLES_FOLDER
#   (SCREEN_CHECK and the samples come from the Linux build)
build=$1
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
# start_wine NAME: a new prefix $work/NAME; no menu entries for the host.
start_wine() {
    export WINEPREFIX="$work/$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
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
        eventually raised_shows "my window 2" median "$samples/circles.jpg" || { keep_shot speckwipe-second; xwininfo -id "$after" | grep -E "Absolute|Width|Height"; }
    x_press_key "$after" Return
    wait_program_end 10
    check "speckwipe: the second key ends it with status 0 (got $program_status)" test "$program_status" = 0
    check "speckwipe: nothing goes to stderr" test ! -s "$work/err"
}

# raised_shows WINDOW screen_check-arguments...: the window, found anew and
# raised, shows as screen_check expects. A new window may open under one
# that keeps the focus (or under its console), and a screenshot of a
# covered window shows what covers it. (A window that openbox maps before
# OpenCV sizes it can keep its first size, 314x295 inside: the programs
# give a Win32 window its size again until it holds.)
raised_shows() {
    local id
    id=$(x_window_id "$1")
    shift
    [ -n "$id" ] && x_activate "$id" && x_shoot "$id" "$work/shot.png" && "$screen_check" "$@" "$work/shot.png"
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

# The installer in a Wine prefix of its own, as a user meets it: a picture
# of the user's own at C:\circles.jpg, version 0.9.0 upgraded in place, the
# programs started from their Start-menu entries, 0.9.0 refused over the
# newer, the uninstall, and an install without the sample pictures. (Wine
# puts a per-machine package's Start-menu entries in the user's Start menu
# and the Apps entry's icon in ProductIcon, and gives the entry no size.)
installer() {
    local msi older own="$work/own.jpg" version entry
    msi=$(ls "$build"/speckrim-*-windows-x86_64.msi)
    version=$(basename "$msi" | cut -d- -f2)
    entry="speckrim $version the speckrim developers"
    older=$("$(dirname "$0")/../../scripts/package-windows" "$build" "$work/older" 0.9.0 | grep '\.msi$')
    wineserver -k
    start_wine wine-installer
    convert -size 320x240 gradient:gray10-gray90 "jpg:$own"
    cp "$own" "$drive_c/circles.jpg"
    msiexec_gives 0 "installs 0.9.0" /i "$older"
    msiexec_gives 0 "installs $version over 0.9.0" /i "$msi"
    check "installer: one Apps entry, $entry, its icon there" test "$(apps_entries)" = "$entry"
    check "installer: Program Files\\speckrim holds what the ZIP does but the pictures" \
        cmp -s <(cd "$drive_c/Program Files/speckrim" && find . -type f | sort) \
        <(unzip -Z1 "${msi%.msi}.zip" | sed -n 's|^[^/]*/|./|p' | grep -v '\.jpg$' | sort)
    check "installer: the user's own C:\\circles.jpg is kept byte for byte" cmp -s "$own" "$drive_c/circles.jpg"
    check "installer: C:\\vantrel.jpg is the sample" cmp -s "$samples/vantrel.jpg" "$drive_c/vantrel.jpg"
    started_from_menu speckwipe "my window" grey "$own"
    check "installer: speckwipe's trace is in a console of its own" \
        eventually console_shows speckwipe.exe "$("$screen_check" trace "$own" | head -n 1 | sed 's/ $//')"
    press_once x "$(x_window_id "my window")" a window_open x "my window 2"
    check "installer: speckwipe from the Start menu: a key opens \"my window 2\", the next ends it" \
        press_once x "$(x_window_id "my window 2")" a menu_program_ended speckwipe
    started_from_menu rimtrace "my window" edges "$samples/vantrel.jpg" 100
    check "installer: rimtrace from the Start menu: Esc ends it" \
        press_once x "$(x_window_id "my window")" Escape menu_program_ended rimtrace
    msiexec_gives 67 "refuses 0.9.0 over $version (1603)" /i "$older"
    check "installer: after the refusal, still $entry" test "$(apps_entries)" = "$entry"
    msiexec_gives 0 "uninstalls" /x "$msi"
    check "installer: the uninstall leaves no file, folder, registry key or Apps entry of the project" \
        test -z "$(find "$drive_c" -iname '*speckrim*')$(apps_entries)$(wine reg query 'HKLM\Software\speckrim' 2>&1 | grep -i speckrim)"
    check "installer: the uninstall removes C:\\vantrel.jpg, which it put there" test ! -e "$drive_c/vantrel.jpg"
    check "installer: the uninstall keeps the user's C:\\circles.jpg" cmp -s "$own" "$drive_c/circles.jpg"
    msiexec_gives 0 "installs without the sample pictures (ADDLOCAL=Programs)" /i "$msi" ADDLOCAL=Programs
    check "installer: without the sample pictures, no C:\\vantrel.jpg" test ! -e "$drive_c/vantrel.jpg"
}

# msiexec_gives STATUS WHAT ARGUMENTS...: msiexec, quiet, ends with STATUS
# (Wine keeps the low 8 bits of Windows' status).
msiexec_gives() {
    local status=$1 what=$2
    shift 2
    wine msiexec "$@" /qn </dev/null >/dev/null 2>&1
    check "installer: $what (status $?)" test "$?" = "$status"
}

# apps_entries: "NAME VERSION PUBLISHER" of each installed program whose
# icon file is there, one a line.
apps_entries() {
    local icon
    icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s /v ProductIcon 2>/dev/null |
        tr -d '\r' | awk '$1 == "ProductIcon" {print $3}')
    [ -n "$icon" ] && [ -f "$(winepath -u "$icon")" ] &&
        wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null | tr -d '\r' |
        awk '$1 == "DisplayName" { name = $3 } $1 == "DisplayVersion" { version = $3 }
             $1 == "Publisher" { $1 = $2 = ""; sub(/^ +/, ""); print name, version, $0 }'
}

# started_from_menu PROGRAM WINDOW screen_check-arguments...: the program's
# Start-menu entry names it, in Program Files, and its icon; started there,
# as a click does (start, which returns at once), it shows WINDOW.
started_from_menu() {
    local program=$1 window=$2 link icon
    shift 2
    link=$(find "$drive_c" -path "*/Start Menu/Programs/speckrim/$program.lnk")
    icon=$(strings -a -el "$link" | grep -o -m 1 "[A-Za-z]:\\\\.*\\\\$program\\.ico")
    check "installer: the Start menu's $program entry starts Program Files\\speckrim\\$program.exe" \
        grep -qxF "C:\\Program Files\\speckrim\\$program.exe" <(strings -a "$link")
    check "installer: the Start menu's $program entry has its icon" test -f "$(winepath -u "$icon")"
    start_program "$elsewhere" wine start /unix "$link"
    wait_window x "$window" 30 >/dev/null
    check "installer: started from the Start menu, $program shows \"$window\"" \
        eventually raised_shows "$window" "$@" || keep_shot "installed-$program"
}

# menu_program_ended PROGRAM: no process of the installed PROGRAM.exe left.
menu_program_ended() { ! pgrep -f "speckrim.$1\\.exe" >/dev/null; }

start_wine wine
mkdir -p "$elsewhere"
unit_suites
speckwipe_run
rimtrace_run
closing
large_picture
refusal
console_refusals
installer
finish
