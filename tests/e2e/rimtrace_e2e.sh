#!/bin/bash
# rimtrace end to end, as a user runs it: the first map, a slider drag,
# keys, Esc and the exit status on a private X display.
# Usage: rimtrace_e2e.sh RIMTRACE SCREEN_CHECK SAMPLE_PICTURE WINDOW_PROBE
rimtrace=$1
screen_check=$2
sample=$3
probe=$4  # tests/e2e/window_probe.cpp
source "$(dirname "$0")/../lib/tally.sh"
source "$(dirname "$0")/../lib/runs.sh"
source "$(dirname "$0")/../lib/x_desktop.sh"
source "$(dirname "$0")/slider_steps.sh"
start_scratch
start_x_desktop
icons=$(toolbar_icons_of "$rimtrace")

# Waits up to 5 s for the window to show a map below threshold 100.
shows_lower_threshold() {
    local tries=0 shown
    while [ $tries -lt 25 ]; do
        shown=$(shown_thresholds "$screen_check" "$shown_picture" "$1")
        if [ -n "$shown" ] && [[ " $shown " != *" 100 "* ]] && [ "${shown%% *}" -lt 100 ]; then
            echo "    the map shown is the map at: $shown"
            return 0
        fi
        sleep 0.2
        tries=$((tries + 1))
    done
    return 1
}

# How many writes the program makes in 2 s (/proc's count of write calls):
# each redraw sends the map to the X server, about 30 a second if it
# redrew at every refresh; at rest there are none.
writes_in_two_seconds() {
    local before
    before=$(awk '/^syscw/ {print $2}' "/proc/$program_pid/io")
    sleep 2
    echo $(($(awk '/^syscw/ {print $2}' "/proc/$program_pid/io") - before))
}

normal_run() {
    local folder="$work/normal" window
    mkdir "$folder"
    cp "$sample" "$folder/vantrel.jpg"
    shown_picture="$folder/vantrel.jpg"
    start_program "$folder" "$rimtrace"
    window=$(wait_window x "my window")
    check "the window opens" test -n "$window"
    check "the window names rimtrace to the desktop (WM_CLASS, KWin's entry)" eventually x_program_is "$window" rimtrace
    check "the first map is the map at threshold 100, pixel for pixel" \
        screen_shows x "$screen_check" "$window" edges "$shown_picture" 100
    check "a window that fits is left where the window manager put it" left_where_placed "$window"
    check "the window is as wide as its picture" x_width_is "$window" 640
    check "the toolbar shows icons, not text" shows_toolbar_icons x "$window" 1

    local writes
    writes=$(writes_in_two_seconds)
    check "with the slider unmoved nothing is redrawn ($writes writes in 2 s)" test "$writes" -le 2

    x_press_key "$window" a
    sleep 0.5
    check "a key other than Esc keeps it running" kill -0 "$program_pid"

    check "the slider's handle can be dragged" drag_slider "$screen_check" handle "$window" 2000
    check "a drag to the right end shows the map at 255" eventually shows_threshold "$screen_check" "$shown_picture" "$window" 255
    drag_slider "$screen_check" handle "$window" -75%
    check "a drag three quarters back shows the map of a threshold below 100" \
        shows_lower_threshold "$window"

    x_press_key "$window" Escape
    wait_program_end 1
    check "Esc ends it within a second with status 0 (got $program_status)" \
        test "$program_status" = 0
    check "nothing goes to stdout" test ! -s "$work/out"
    check "nothing goes to stderr" test ! -s "$work/err"
}

# windows_match WINDOW_ID REFERENCE_ID: screenshots of the two, each taken
# while it is the active window (Qt draws an inactive one's slider ticks and
# some other parts lighter), are equal. Activation goes through the window
# manager, as a user's click does: with the input focus alone, Qt on
# Debian 13 sometimes kept drawing the window as inactive.
windows_match() {
    x_activate "$1" && import -window "$1" "png:$work/program.png" &&
        x_activate "$2" && import -window "$2" "png:$work/reference.png" &&
        compare -metric AE "$work/program.png" "$work/reference.png" null: 2>/dev/null
}

# focus_slider WINDOW_ID: clicks the slider's handle, found by screen_check.
focus_slider() {
    local x y left
    import -window "$1" "png:$work/shot.png" &&
        read -r x y left < <("$screen_check" handle "$work/shot.png") &&
        xdotool mousemove --window "$1" "$x" "$y" sleep 0.2 click 1 sleep 0.3
}

# focused_windows_match WINDOW_ID REFERENCE_ID: windows_match with both
# sliders holding the keyboard focus, and the pointer away from both (a
# hovered button or handle is drawn lighter). Qt draws the slider's ticks
# blue while it has the focus, and whether a new window's slider has it
# differs from run to run: a click on each handle gives it the focus and
# leaves it where it is. The clicks are made anew on each try, as now and
# then a click only activates a window and the focus stays elsewhere.
focused_windows_match() {
    focus_slider "$1" && focus_slider "$2" && xdotool mousemove 1919 1079 &&
        windows_match "$1" "$2"
}

# The whole window, toolbar, slider label and handle included, equals the
# one screen_check shows with the names and values rimtrace must use, and
# the toolbar's icons offered as rimtrace offers them.
same_as_reference() {
    local folder="$work/reference" window reference reference_pid
    mkdir "$folder"
    convert -size 480x360 gradient:gray10-gray90 -swirl 150 "jpg:$folder/vantrel.jpg"
    start_program "$folder" "$rimtrace"
    window=$(wait_window x "my window")
    XDG_DATA_DIRS="/usr/local/share:/usr/share:${icons%/icons/hicolor}" \
        "$screen_check" reference "$folder/vantrel.jpg" &
    reference_pid=$!
    reference=$(wait_window x reference)
    xdotool windowmove --sync "$window" 0 0 windowmove --sync "$reference" 0 500
    # Each slider is at 100 once its window shows the first map: a click
    # aimed from a shot taken before would land on the groove and move it.
    screen_shows x "$screen_check" "$window" edges "$folder/vantrel.jpg" 100
    screen_shows x "$screen_check" "$reference" edges "$folder/vantrel.jpg" 100
    check "the window, slider \"threshhold\" at 100 of 255 included, is the expected one" \
        eventually focused_windows_match "$window" "$reference" ||
        echo "    pixels that differ: $(compare -metric AE "$work/program.png" "$work/reference.png" null: 2>&1)"
    kill "$reference_pid"
    x_press_key "$window" Escape
    wait_program_end 2
}

# A picture narrower than the toolbar's buttons: the window is still as
# wide as the picture, the map pixel for pixel, the toolbar folding what
# does not fit behind its extension button.
narrow_picture() {
    local folder="$work/narrow" window
    mkdir "$folder"
    convert -size 200x150 gradient:gray10-gray90 -swirl 150 "jpg:$folder/vantrel.jpg"
    start_program "$folder" "$rimtrace"
    window=$(wait_window x "my window")
    check "a picture narrower than the toolbar: the map shows pixel for pixel" \
        screen_shows x "$screen_check" "$window" edges "$folder/vantrel.jpg" 100
    check "a picture narrower than the toolbar: the window is as wide as it" soon x_width_is "$window" 200
    press_once x "$window" Escape program_ended
    wait_program_end 5
}

# Closing the window through the window manager ends it, as Esc does.
closing() {
    local folder="$work/closing"
    mkdir "$folder"
    cp "$sample" "$folder/vantrel.jpg"
    start_program "$folder" "$rimtrace"
    wait_window x "my window" >/dev/null && x_close_window "my window"
    wait_program_end 5
    check "closing the window ends it with status 0 (got $program_status)" test "$program_status" = 0
}

# A 12-megapixel picture, and a portrait one narrow enough for the screen
# but too tall, on a 1920x1080 screen at 100 %, 200 % and 150 % (Xft.dpi
# 96, 192 and 144; Qt draws both scaled desktops at 2): the window, slider
# included, in the work area's corner, fits in it, as tall as it may be,
# its picture's aspect kept, by the time the program has placed it again;
# the slider still drives the map; one Esc ends it.
large_picture() {
    local folder window dpi ratio size changed
    for dpi in 96 192 144; do
        ratio=$((dpi > 96 ? 2 : 1))
        x_scale "$dpi"
        for size in 4000x3000 1200x1500; do
            folder="$work/large-$size-$dpi"
            mkdir "$folder"
            convert -size "$size" gradient:gray20-gray80 -swirl 200 -fill none -stroke white \
                -draw "circle 600,750 600,100" "jpg:$folder/vantrel.jpg"
            start_program "$folder" env LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$rimtrace"
            window=$(wait_window x "my window")
            check "at Xft.dpi $dpi a $size picture: the window fills the work area's height, at its corner" \
                soon fills_work_area "$window" "$ratio"
            check "at Xft.dpi $dpi a $size picture: the map keeps the picture's aspect" \
                soon part_keeps_aspect "my window" ${size/x/ }
            if [ "$dpi$size" = 964000x3000 ]; then
                import -window "$window" "png:$work/large-before.png"
                drag_slider "$screen_check" handle "$window" 2000
                sleep 0.5
                import -window "$window" "png:$work/large-after.png"
                changed=$(compare -metric AE "$work/large-before.png" "$work/large-after.png" null: 2>&1 |
                    awk '{printf "%d", $1}')  # ImageMagick 7 adds a normalised value
                check "a 4000x3000 picture: a slider drag changes the map ($changed pixels)" test "$changed" -gt 1000
            fi
            check "at Xft.dpi $dpi a $size picture: one Esc ends it" press_once x "$window" Escape program_ended
            wait_program_end 5
            check "at Xft.dpi $dpi a $size picture: status 0 (got $program_status)" test "$program_status" = 0
        done
    done
    x_scale 96
}

# One Esc, pressed once at the moment the window is placed again (the
# moment a user meets now and then), ends the program as at any other: a
# large picture's window is placed again 200 ms after it opens; a window
# that fits, at 200 %, opens while the program waits for the compositor.
key_while_placing() {
    case_folder key-placing
    convert -size 4000x3000 gradient:gray20-gray80 "jpg:$folder/vantrel.jpg"
    escape_at "resizeWindow 2" 96 "Esc pressed as a large window is placed again"
    case_folder key-opening
    cp "$sample" "$folder/vantrel.jpg"
    escape_at "namedWindow 1" 192 "at Xft.dpi 192 Esc pressed as the window opens"
}

# escape_at MOMENT DPI WHAT: rimtrace run in $folder at Xft.dpi DPI, Esc
# pressed at MOMENT (window_probe's KEY_AT: a call and its count) ends it.
escape_at() {
    x_scale "$2"
    start_program "$folder" env LD_PRELOAD="$probe" KEY_AT="$1 27" "$rimtrace"
    wait_program_end 10
    check "$3 ends it (got $program_status)" test "$program_status" = 0
    x_scale 96
}

# Esc with a modifier still reads as Esc (Qt passes Ctrl+keys to its own
# shortcuts, so Shift and Alt are the ones a user can send).
esc_with_modifiers() {
    local folder="$work/modifiers" window key
    mkdir "$folder"
    cp "$sample" "$folder/vantrel.jpg"
    for key in shift+Escape alt+Escape; do
        start_program "$folder" "$rimtrace"
        window=$(wait_window x "my window")
        [ -n "$window" ] && x_press_key "$window" "$key"
        wait_program_end 2
        check "$key ends it with status 0 (got $program_status)" test "$program_status" = 0
    done
}

# rimtrace prints nothing: closed standard streams change nothing, and no
# file or connection it opens takes their place.
closed_streams() {
    case_folder streams
    cp "$sample" "$folder/vantrel.jpg"
    start_program "$folder" sh -c 'exec "$0" <&- >&- 2>&-' "$rimtrace"
    run_to_end "$folder" "standard input, output and error closed" grey
}

# run_to_end FOLDER WHAT [CHECK]: drives a started rimtrace to Esc; CHECK
# "grey" also holds the window to the picture's map at threshold 100.
run_to_end() {
    local folder=$1 what=$2 mode=${3:--} window
    window=$(wait_window x "my window")
    check "$what: the window opens" test -n "$window"
    if [ -n "$window" ] && [ "$mode" = grey ]; then
        check "$what: it shows the map at 100 pixel for pixel" \
            screen_shows x "$screen_check" "$window" edges "$folder/vantrel.jpg" 100
    fi
    [ -n "$window" ] && x_press_key "$window" Escape
    wait_program_end 5
    check "$what: ends with status 0 (got $program_status)" test "$program_status" = 0
}

# With KDE Plasma's Qt integration, as on a Plasma desktop: the same map,
# and nothing on stderr.
kde_integration() {
    if ! ls /usr/lib/*/qt5/plugins/platformthemes/KDEPlasmaPlatformTheme*.so >/dev/null 2>&1; then
        echo "skipped: KDE's Qt integration is not installed (scripts/install-deps --desktops)"
        return
    fi
    case_folder kde
    cp "$sample" "$folder/vantrel.jpg"
    start_program "$folder" env QT_QPA_PLATFORMTHEME=kde "$rimtrace"
    run_to_end "$folder" "with KDE's Qt integration" grey
    check "with KDE's Qt integration nothing goes to stderr" test ! -s "$work/err"
}

program=rimtrace
binary=$rimtrace
picture=vantrel.jpg
work_size=screen
source "$(dirname "$0")/hostile_inputs.sh"

# On a desktop at 200 % and at 150 % (Xft.dpi 192 and 144; Qt draws both
# at 2), the map still shows pixel for pixel, the window's picture part
# exactly the picture's size in window pixels (half of it on a side) once
# the program has placed it again: the bars, 71 window pixels high there
# and not the 73 first assumed, are taken into account. The window lies
# inside the work area, left where the window manager put it; at 200 % the
# slider still drags to both its ends.
scaled_desktop() {
    local dpi folder window
    for dpi in 192 144; do
        folder="$work/scaled-$dpi"
        mkdir "$folder"
        cp "$sample" "$folder/vantrel.jpg"
        x_scale "$dpi"
        start_program "$folder" env LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$rimtrace"
        window=$(wait_window x "my window")
        check "at Xft.dpi $dpi the map shows pixel for pixel" \
            screen_shows x "$screen_check" "$window" edges "$folder/vantrel.jpg" 100
        check "at Xft.dpi $dpi the window lies inside the work area" soon inside_work_area "$window"
        check "at Xft.dpi $dpi the window is left where the window manager put it" not_moved "my window"
        check "at Xft.dpi $dpi the map's part is the picture's size" soon part_is "my window" 320x240
        check "at Xft.dpi $dpi the window is as wide as the picture's 640 pixels" soon x_width_is "$window" 640
        check "at Xft.dpi $dpi the toolbar shows icons, not text" shows_toolbar_icons x "$window" 2
        if [ "$dpi" = 192 ]; then
            drag_slider "$screen_check" handle "$window" 2000
            check "at Xft.dpi 192 a drag to the right end shows the map at 255" \
                eventually shows_threshold "$screen_check" "$folder/vantrel.jpg" "$window" 255
            drag_slider "$screen_check" handle "$window" -100%
            check "at Xft.dpi 192 a drag to the left end shows the map at 0" \
                eventually shows_threshold "$screen_check" "$folder/vantrel.jpg" "$window" 0
        fi
        check "at Xft.dpi $dpi one Esc ends it" press_once x "$window" Escape program_ended
        wait_program_end 5
    done
    x_scale 96
}

normal_run
scaled_desktop
same_as_reference
narrow_picture
closing
large_picture
key_while_placing
esc_with_modifiers
hostile_inputs
closed_streams
kde_integration
finish
