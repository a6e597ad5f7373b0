#!/bin/bash
# Both programs on a Wayland desktop (sway, headless): natively where only
# Wayland is, in a Wayland session with an X display beside (GNOME's and
# KDE's Xwayland), closing through the compositor, the refusals, and a
# 12-megapixel picture on the output.
# Usage: wayland_e2e.sh SPECKWIPE RIMTRACE SCREEN_CHECK SAMPLES_FOLDER WINDOW_PROBE WAYLAND_DELAY
screen_check=$3
samples=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../lib/tally.sh"
source "$here/../lib/runs.sh"
source "$here/../lib/x_desktop.sh"
source "$here/../lib/wayland_desktop.sh"
source "$here/hostile_inputs.sh"
start_scratch
start_x_desktop
start_sway
# Copies nobody may run: the build may lie in a folder only root can enter;
# the toolbar's icons beside them, as built.
mkdir -m 755 "$work/bin" "$work/share"
cp "$1" "$2" "$5" "$6" "$work/bin/"
cp -r "$(toolbar_icons_of "$1")/../.." "$work/share/speckrim"
chmod -R a+rX "$work/share"
icons=$(toolbar_icons_of "$work/bin/$(basename "$1")")
probe="$work/bin/$(basename "$5")"  # tests/e2e/window_probe.cpp
parts="$work/wayland/parts"  # where the programs may write, as nobody too

# use_program NAME: the program the steps below (and refuses) run.
use_program() {
    program=$1
    binary="$work/bin/$1"
    picture=vantrel.jpg
    [ "$1" = speckwipe ] && picture=circles.jpg
}

# sample_case NAME: a fresh $folder holding the program's sample picture.
sample_case() {
    case_folder "$1"
    cp "$samples/$picture" "$folder/"
    chmod 644 "$folder/$picture"
}

# ends_by_keys WINDOW_ID: the keys that end the program: a key in each of
# speckwipe's two windows, Esc in rimtrace's.
ends_by_keys() {
    if [ "$program" = rimtrace ]; then
        press_once sway "$1" Escape program_ended
    else
        press_once sway "$1" space window_open sway "my window 2" &&
            press_once sway "$(sway_window_id "my window 2")" space program_ended
    fi
    wait_program_end 5
}

speckwipe_natively() {
    use_program speckwipe
    sample_case speckwipe-native
    start_program "$folder" "${as_wayland_user[@]}" "$binary"
    local before after
    before=$(wait_window sway "my window")
    check "speckwipe on Wayland alone: the first window opens" test -n "$before"
    check "speckwipe on Wayland alone: the trace is complete" \
        cmp -s "$work/out" <("$screen_check" trace "$folder/$picture")
    check "speckwipe on Wayland alone: the first window shows the picture pixel for pixel" \
        screen_shows sway "$screen_check" "$before" grey "$folder/$picture"
    window_as_wide_as_picture speckwipe "my window" "$before"
    press_once sway "$before" a window_open sway "my window 2"
    after=$(sway_window_id "my window 2")
    check "speckwipe on Wayland alone: a key opens the second window, median-filtered" \
        screen_shows sway "$screen_check" "$after" median "$folder/$picture"
    press_once sway "$after" space program_ended
    wait_program_end 5
    check "speckwipe on Wayland alone: a second key ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
    check "speckwipe on Wayland alone: nothing on stderr" test ! -s "$work/err"
}

rimtrace_natively() {
    use_program rimtrace
    sample_case rimtrace-native
    start_program "$folder" "${as_wayland_user[@]}" "$binary"
    local window
    window=$(wait_window sway "my window")
    check "rimtrace on Wayland alone: the window opens" test -n "$window"
    check "rimtrace on Wayland alone: it shows the map at threshold 100 pixel for pixel" \
        screen_shows sway "$screen_check" "$window" edges "$folder/$picture" 100
    window_as_wide_as_picture rimtrace "my window" "$window"
    sway_press_key "$window" a
    sleep 0.5
    check "rimtrace on Wayland alone: a key other than Esc keeps it running" kill -0 "$program_pid"
    ends_by_keys "$window"
    check "rimtrace on Wayland alone: Esc ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
    check "rimtrace on Wayland alone: nothing on stderr" test ! -s "$work/err"
}

# window_as_wide_as_picture PROGRAM NAME WINDOW_ID: at scale 1 the window
# is as wide as its 640-pixel picture, whole on the output, its border
# included, and its toolbar shows icons, not text.
window_as_wide_as_picture() {
    check "$1 on Wayland alone: \"$2\" is as wide as its picture" soon sway_width_is "$2" 640
    check "$1 on Wayland alone: \"$2\", border included, lies on the output" on_output "$2"
    check "$1 on Wayland alone: \"$2\"'s toolbar shows icons, not text" shows_toolbar_icons sway "$3" 1
}

# Closing a window through the compositor counts as a key.
closing() {
    use_program speckwipe
    sample_case speckwipe-closing
    start_program "$folder" "${as_wayland_user[@]}" "$binary"
    wait_window sway "my window" >/dev/null && sway_close_window "my window"
    check "speckwipe on Wayland: closing the first window opens the second" \
        test -n "$(wait_window sway "my window 2")"
    sway_close_window "my window 2"
    wait_program_end 5
    check "speckwipe on Wayland: closing the second ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
    use_program rimtrace
    sample_case rimtrace-closing
    start_program "$folder" "${as_wayland_user[@]}" "$binary"
    wait_window sway "my window" >/dev/null && sway_close_window "my window"
    wait_program_end 5
    check "rimtrace on Wayland: closing the window ends it with status 0 (got $program_status)" \
        test "$program_status" = 0
}

# Qt's platform plugins but the X one, in place of the real folder, seen by
# the program alone (a mount namespace of its own): Qt's Wayland plugin is
# missing, as where qtwayland5 is not installed. Needs root.
qt_platforms=$(dirname "$(ldd "$work/bin/rimtrace" | awk '/libQt5Core/ {print $3}')")/qt5/plugins/platforms
mkdir -p "$work/x-only"
cp "$qt_platforms/libqxcb.so" "$work/x-only/"
without_wayland_plugin=(unshare --mount --propagation private
    sh -c 'mount --bind "$0" "$1" && shift && exec "$@"' "$work/x-only" "$qt_platforms")
can_hide_plugin() { [ "$(id -u)" = 0 ] && "${without_wayland_plugin[@]}" true 2>/dev/null; }

# session_with_x WHERE DESKTOP [PREFIX...]: a GNOME-like session, Wayland
# with an X display beside; the window must open WHERE, found on DESKTOP
# (sway or x).
session_with_x() {
    local where=$1 desktop=$2 window
    shift 2
    sample_case "$program-session-$where"
    start_program "$folder" "$@" "${as_wayland_user[@]}" DISPLAY="$DISPLAY" \
        XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME "$binary"
    window=$(wait_window "$desktop" "my window")
    check "$program in a Wayland session with X beside: the window opens on $where" test -n "$window"
    if [ "$where" = X ]; then ends_by_x_keys; else ends_by_keys "$window"; fi
    check "$program in a Wayland session with X beside, on $where: status 0 (got $program_status)" \
        test "$program_status" = 0
    check "$program in a Wayland session with X beside, on $where: nothing on stderr" \
        test ! -s "$work/err"
}

# Esc, through X, in the program's newest window until it ends.
ends_by_x_keys() {
    local tries=0 id
    while ! program_ended && [ $tries -lt $((20 * slow)) ]; do
        id=$(x_window_id "my window 2")
        [ -n "$id" ] || id=$(x_window_id "my window")
        [ -n "$id" ] && xdotool windowfocus --sync "$id" key Escape 2>/dev/null
        sleep 0.5
        tries=$((tries + 1))
    done
    wait_program_end 5
}

sessions_with_x() {
    for name in speckwipe rimtrace; do
        use_program "$name"
        session_with_x Wayland sway
        if can_hide_plugin; then
            session_with_x X x "${without_wayland_plugin[@]}"
        else
            echo "skipped: $name without Qt's Wayland plugin (needs root)"
        fi
    done
}

wayland_refusals() {
    for name in speckwipe rimtrace; do
        use_program "$name"
        case_folder "$name-refusals"
        convert -size 8x8 xc:gray50 "png:$folder/$picture"
        local line="$name: cannot open a window on Wayland display nowhere: no compositor answers at $work/wayland/nowhere"
        refuses "$name, WAYLAND_DISPLAY naming no compositor" "$line" \
            "${as_wayland_user[@]}" WAYLAND_DISPLAY=nowhere
        refuses "$name, QT_QPA_PLATFORM=wayland with no compositor, X beside" "$line" \
            "${as_wayland_user[@]}" WAYLAND_DISPLAY=nowhere QT_QPA_PLATFORM=wayland DISPLAY="$DISPLAY"
        can_hide_plugin &&
            refuses "$name, Qt's Wayland plugin missing" \
                "$name: cannot open a window on Wayland display $wayland_display: Qt's Wayland plugin is not installed (Debian package qtwayland5)" \
                "${without_wayland_plugin[@]}" "${as_wayland_user[@]}"
    done
}

# A 12-megapixel picture, at scale 1 and 2: each window, title bar
# included, fits on the 1920x1080 output, where the compositor placed it,
# and its picture, aspect kept, fills it in the tighter direction.
large_pictures() {
    local scale window name
    for scale in 1 2; do
        sway_scale "$scale"
        for name in speckwipe rimtrace; do
            use_program "$name"
            case_folder "$name-large-$scale"
            convert -size 4000x3000 gradient:gray20-gray80 -swirl 200 "jpg:$folder/$picture"
            start_program "$folder" "${as_wayland_user[@]}" LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$binary"
            window=$(wait_window sway "my window" 20)
            large_window_fits "$name" "$scale" "my window"
            if [ "$name" = speckwipe ]; then
                press_once sway "$window" space window_open sway "my window 2"
                large_window_fits "$name" "$scale" "my window 2"
                press_once sway "$(sway_window_id "my window 2")" space program_ended
            else
                press_once sway "$window" Escape program_ended
            fi
            wait_program_end 5
            check "$name on Wayland at scale $scale, a 4000x3000 picture: status 0 (got $program_status)" \
                test "$program_status" = 0
        done
    done
    sway_scale 1
}

# large_window_fits PROGRAM SCALE NAME: large_pictures' checks of a window.
large_window_fits() {
    local what="$1 on Wayland at scale $2, a 4000x3000 picture: \"$3\""
    check "$what fits on the output" eventually on_output "$3"
    check "$what is filled by the picture" soon fills_window "$3"
    check "$what keeps its aspect" soon part_keeps_aspect "$3" 4000 3000
}

# floats NAME: sway floats the window named so, rather than tiling it.
floats() { [ "$(window_field "$1" .type)" = floating_con ]; }

# fills_window NAME: the picture fills the room in the tighter direction:
# its part is as wide as the window's inside, or as high as the output
# (logical pixels) less the 64 the fit keeps for the title bar and borders
# and at most 80 of Qt's bars. sway tiles a resizable window; Qt on
# Debian 12 stretches the picture to the tile, on Debian 13 it keeps the
# fitted size.
fills_window() {
    local part height inside
    part=$(picture_part "$1")
    height=$(swaymsg_ -t get_outputs | jq -r '.[0].rect.height')
    read -r -a inside < <(window_field "$1" '"\(.window_rect.width) \(.window_rect.height)"')
    echo "    the picture's part $part in an inside of ${inside[*]:0:2}, on an output $height high"
    [ -n "$part" ] && [ ${#inside[@]} = 2 ] || return 1
    [ "${part%x*}" = "${inside[0]}" ] || [ $((height - 64 - ${part#*x})) -le 80 ]
}

# On an output at scale 2, as a user's 200 %: each picture still shows
# pixel for pixel in a floating window as wide as the picture (320 logical
# pixels), which lies on the output, its border included, its toolbar
# showing icons.
scaled_output() {
    sway_scale 2
    for name in speckwipe rimtrace; do
        use_program "$name"
        sample_case "$name-scaled"
        start_program "$folder" "${as_wayland_user[@]}" LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$binary"
        local window check_mode=(grey "$folder/$picture")
        [ "$name" = rimtrace ] && check_mode=(edges "$folder/$picture" 100)
        window=$(wait_window sway "my window")
        check "$name on Wayland at scale 2: the picture shows pixel for pixel" \
            screen_shows sway "$screen_check" "$window" "${check_mode[@]}"
        check "$name on Wayland at scale 2: the window floats" floats "my window"
        check "$name on Wayland at scale 2: the window, border included, lies on the output" \
            soon on_output "my window"
        check "$name on Wayland at scale 2: the picture's part is the picture's size" \
            soon part_is "my window" 320x240
        check "$name on Wayland at scale 2: the window is as wide as the picture" soon sway_width_is "my window" 320
        check "$name on Wayland at scale 2: the toolbar shows icons, not text" shows_toolbar_icons sway "$window" 2
        ends_by_keys "$window"
        check "$name on Wayland at scale 2: it ends with status 0 (got $program_status)" \
            test "$program_status" = 0
    done
    sway_scale 1
}

# A compositor that answers 200 ms late (tests/e2e/wayland_delay.cpp, as on
# a busy machine): at scale 2 each program's window still floats, its
# picture pixel for pixel: it became resizable only once the compositor
# had seen it, however long that took.
slow_compositor() {
    local window name check_mode
    "${as_wayland_user[@]}" "$work/bin/wayland_delay" "$work/wayland/$wayland_display" "$work/wayland/slow" 200 &
    on_exit "kill $! 2>/dev/null"
    sway_scale 2
    for name in speckwipe rimtrace; do
        use_program "$name"
        sample_case "$name-slow"
        check_mode=(grey "$folder/$picture")
        [ "$name" = rimtrace ] && check_mode=(edges "$folder/$picture" 100)
        start_program "$folder" "${as_wayland_user[@]}" WAYLAND_DISPLAY=slow "$binary"
        window=$(wait_window sway "my window" 20)
        check "$name on a compositor 200 ms slow to answer, at scale 2: the picture shows pixel for pixel" \
            screen_shows sway "$screen_check" "$window" "${check_mode[@]}"
        check "$name on a compositor 200 ms slow to answer, at scale 2: the window floats" floats "my window"
        ends_by_keys "$window"
    done
    sway_scale 1
}

speckwipe_natively
rimtrace_natively
closing
sessions_with_x
wayland_refusals
large_pictures
scaled_output
slow_compositor
finish
