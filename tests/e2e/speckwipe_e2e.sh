#!/bin/bash
# speckwipe end to end, as a user runs it: its windows, keys, trace and
# exit status on a private X display.
# Usage: speckwipe_e2e.sh SPECKWIPE SCREEN_CHECK SAMPLE_PICTURE WINDOW_PROBE
speckwipe=$1
screen_check=$2
sample=$3
probe=$4  # tests/e2e/window_probe.cpp
source "$(dirname "$0")/../lib/tally.sh"
source "$(dirname "$0")/../lib/runs.sh"
source "$(dirname "$0")/../lib/x_desktop.sh"
start_scratch
start_x_desktop
icons=$(toolbar_icons_of "$speckwipe")

normal_run() {
    local folder="$work/normal"
    mkdir "$folder"
    cp "$sample" "$folder/circles.jpg"
    start_program "$folder" env LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$speckwipe"
    local before after
    before=$(wait_window x "my window")
    check "the first window opens" test -n "$before"
    "$screen_check" trace "$folder/circles.jpg" >"$work/trace"
    check "the trace is complete before the first window opens" eval 'cmp -s "$work/out" "$work/trace" &&
        grep -qx "my window: opening after $(wc -c <"$work/trace") bytes of output" "$parts"'
    check "only the first window exists before the first key" test -z "$(x_window_id "my window 2")"
    check "a window that fits is left where the window manager put it" left_where_placed "$before"
    check "the first window shows the picture pixel for pixel" \
        screen_shows x "$screen_check" "$before" grey "$folder/circles.jpg"
    check "the first window is as wide as its picture" x_width_is "$before" 640
    check "the first window's toolbar shows icons, not text" shows_toolbar_icons x "$before" 1

    x_press_key "$before" a
    after=$(wait_window x "my window 2")
    check "any key opens the second window" test -n "$after"
    check "both windows name speckwipe to the desktop (WM_CLASS, KWin's entry)" \
        eventually eval 'x_program_is "$before" speckwipe && x_program_is "$after" speckwipe'
    check "the second window shows the median-filtered picture" \
        screen_shows x "$screen_check" "$after" median "$folder/circles.jpg"
    xdotool windowactivate --sync "$before"  # on top of the second, which covers it
    check "the first window still shows the unfiltered picture" \
        screen_shows x "$screen_check" "$before" grey "$folder/circles.jpg"
    check "the program waits for a second key" kill -0 "$program_pid"

    x_press_key "$after" Return
    wait_program_end 5
    check "the second key ends it with status 0 (got $program_status)" test "$program_status" = 0
    check "nothing goes to stderr" test ! -s "$work/err"
}

# Closing a window through the window manager counts as its key.
closing() {
    local folder="$work/closing"
    mkdir "$folder"
    cp "$sample" "$folder/circles.jpg"
    start_program "$folder" "$speckwipe"
    wait_window x "my window" >/dev/null && x_close_window "my window"
    check "closing the first window opens the second" wait_window x "my window 2"
    x_close_window "my window 2"
    wait_program_end 5
    check "closing the second ends it with status 0 (got $program_status)" test "$program_status" = 0
}

# A 12-megapixel picture, and a portrait one narrow enough for the screen
# but too tall, on a 1920x1080 screen, at 100 %, 200 % and 150 % (Xft.dpi
# 96, 192 and 144; Qt draws both scaled desktops at 2): each window, in the
# work area's corner, fits in it, as tall as it may be (the height is the
# tighter direction of both), its picture's aspect kept, by the time the
# program has placed it again; and one key moves on.
large_picture() {
    local folder size window dpi ratio
    for dpi in 96 192 144; do
        ratio=$((dpi > 96 ? 2 : 1))
        x_scale "$dpi"
        for size in 4000x3000 1200x1500; do
            folder="$work/large-$size-$dpi"
            mkdir "$folder"
            convert -size "$size" gradient:gray20-gray80 -swirl 200 "jpg:$folder/circles.jpg"
            start_program "$folder" env LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$speckwipe"
            for name in "my window" "my window 2"; do
                window=$(wait_window x "$name")
                check "at Xft.dpi $dpi a $size picture: \"$name\" fills the work area's height, at its corner" \
                    soon fills_work_area "$window" "$ratio"
                check "at Xft.dpi $dpi a $size picture: \"$name\" keeps its aspect" \
                    soon part_keeps_aspect "$name" ${size/x/ }
                if [ "$name" = "my window" ]; then
                    check "at Xft.dpi $dpi a $size picture: one key opens the second window" \
                        press_once x "$window" space window_open x "my window 2"
                else
                    check "at Xft.dpi $dpi a $size picture: one key ends it" \
                        press_once x "$window" space program_ended
                fi
            done
            wait_program_end 5
            check "at Xft.dpi $dpi a $size picture: ends with status 0 (got $program_status)" \
                test "$program_status" = 0
        done
    done
    x_scale 96
}

# One key, pressed once at the moment a window is placed again (the moment
# a user meets now and then), acts as at any other: a large picture's
# first window is placed again 200 ms after it opens; a window that fits,
# at 200 %, opens while the program waits for the compositor to see it.
key_while_placing() {
    case_folder key-placing
    convert -size 4000x3000 gradient:gray20-gray80 "jpg:$folder/circles.jpg"
    space_at "resizeWindow 2" 96 "a key pressed as a large window is placed again"
    case_folder key-opening
    cp "$sample" "$folder/circles.jpg"
    space_at "namedWindow 1" 192 "at Xft.dpi 192 a key pressed as the first window opens"
}

# space_at MOMENT DPI WHAT: speckwipe run in $folder at Xft.dpi DPI, a space
# pressed at MOMENT (window_probe's KEY_AT: a call and its count) opens the
# second window.
space_at() {
    x_scale "$2"
    start_program "$folder" env LD_PRELOAD="$probe" KEY_AT="$1 32" "$speckwipe"
    check "$3 opens the second window" test -n "$(wait_window x "my window 2")"
    x_press_key "$(x_window_id "my window 2")" space
    wait_program_end 5
    x_scale 96
}

# Runs that can't give the user the trace or the windows: refused before
# any window, with no trace.
refused_runs() {
    folder="$work/case-memory"  # the 20000x20000 picture of refused_for_memory
    emulated || refuses "a 20000x20000 picture with memory for the filter but not the windows" \
        "speckwipe: not enough memory for $folder/circles.jpg (20000x20000 pixels)" \
        sh -c 'ulimit -v 2000000 && exec "$0"'
    case_folder output
    cp "$sample" "$folder/circles.jpg"
    refuses "standard output on a full disk" \
        "speckwipe: cannot write the trace to standard output: no space left on device" \
        sh -c 'exec "$0" >/dev/full'
    refuses "standard output closed" \
        "speckwipe: cannot write the trace to standard output: bad file descriptor" \
        sh -c 'exec "$0" >&-'
}

# run_to_end FOLDER WHAT [CHECK]: drives a started speckwipe through both
# windows; CHECK "grey" also holds the first window to the picture.
run_to_end() {
    local folder=$1 what=$2 mode=${3:--} before after
    before=$(wait_window x "my window")
    check "$what: the first window opens" test -n "$before"
    if [ -n "$before" ] && [ "$mode" = grey ]; then
        check "$what: it shows the picture pixel for pixel" \
            screen_shows x "$screen_check" "$before" grey "$folder/circles.jpg"
    fi
    [ -n "$before" ] && x_press_key "$before" space
    after=$(wait_window x "my window 2")
    check "$what: a key opens the second window" test -n "$after"
    [ -n "$after" ] && x_press_key "$after" space
    wait_program_end 5
    check "$what: ends with status 0 (got $program_status)" test "$program_status" = 0
}

program=speckwipe
binary=$speckwipe
picture=circles.jpg
# A picture narrower than the toolbar's buttons: each window is still as
# wide as the picture, shown pixel for pixel, the toolbar folding what does
# not fit behind its extension button.
narrow_picture() {
    local folder="$work/narrow" before after
    mkdir "$folder"
    convert -size 200x150 gradient:gray10-gray90 -swirl 150 "jpg:$folder/circles.jpg"
    start_program "$folder" "$speckwipe"
    before=$(wait_window x "my window")
    check "a picture narrower than the toolbar shows pixel for pixel" \
        screen_shows x "$screen_check" "$before" grey "$folder/circles.jpg"
    check "a picture narrower than the toolbar: the first window is as wide as it" soon x_width_is "$before" 200
    press_once x "$before" space window_open x "my window 2"
    after=$(x_window_id "my window 2")
    check "a picture narrower than the toolbar: the second window is as wide as it" soon x_width_is "$after" 200
    press_once x "$after" space program_ended
    wait_program_end 5
}

work_size=picture
source "$(dirname "$0")/hostile_inputs.sh"

# On a desktop at 200 % and at 150 % (Xft.dpi 192 and 144; Qt draws both
# at 2), both pictures still show pixel for pixel, each window's picture
# part exactly the picture's size in window pixels (half of it on a side)
# once the program has placed it again, the bars' real height taken into
# account; each window inside the work area, left where the window manager
# put it.
scaled_desktop() {
    local dpi folder before after
    for dpi in 192 144; do
        folder="$work/scaled-$dpi"
        mkdir "$folder"
        cp "$sample" "$folder/circles.jpg"
        x_scale "$dpi"
        start_program "$folder" env LD_PRELOAD="$probe" PICTURE_PARTS="$parts" "$speckwipe"
        before=$(wait_window x "my window")
        check "at Xft.dpi $dpi the first window shows the picture pixel for pixel" \
            screen_shows x "$screen_check" "$before" grey "$folder/circles.jpg"
        check "at Xft.dpi $dpi the first window lies inside the work area" soon inside_work_area "$before"
        check "at Xft.dpi $dpi the first window is left where the window manager put it" \
            not_moved "my window"
        check "at Xft.dpi $dpi the first window's picture part is the picture's size" soon \
            part_is "my window" 320x240
        check "at Xft.dpi $dpi the first window is as wide as the picture's 640 pixels" soon x_width_is "$before" 640
        check "at Xft.dpi $dpi the first window's toolbar shows icons, not text" \
            shows_toolbar_icons x "$before" 2
        check "at Xft.dpi $dpi one key opens the second window" \
            press_once x "$before" space window_open x "my window 2"
        after=$(x_window_id "my window 2")
        check "at Xft.dpi $dpi the second window shows the filtered picture pixel for pixel" \
            screen_shows x "$screen_check" "$after" median "$folder/circles.jpg"
        check "at Xft.dpi $dpi the second window lies inside the work area" soon inside_work_area "$after"
        check "at Xft.dpi $dpi the second window is left where the window manager put it" \
            not_moved "my window 2"
        check "at Xft.dpi $dpi the second window's picture part is the picture's size" soon \
            part_is "my window 2" 320x240
        check "at Xft.dpi $dpi one key ends it" press_once x "$after" space program_ended
        wait_program_end 5
    done
    x_scale 96
}

normal_run
closing
large_picture
key_while_placing
scaled_desktop
narrow_picture
hostile_inputs
refused_runs
finish
