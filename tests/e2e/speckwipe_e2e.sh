#!/bin/bash
# speckwipe end to end, as a user runs it: its windows, keys, trace and
# exit status on a private X display.
# Usage: speckwipe_e2e.sh SPECKWIPE SCREEN_CHECK SAMPLE_PICTURE
speckwipe=$1
screen_check=$2
sample=$3
source "$(dirname "$0")/lib.sh"
start_display

normal_run() {
    local folder="$work/normal"
    mkdir "$folder"
    cp "$sample" "$folder/circles.jpg"
    start_program "$folder" "$speckwipe"
    local before after
    before=$(wait_window "my window")
    check "the first window opens" test -n "$before"
    check "the trace is complete before the first window opens" \
        cmp -s "$work/out" <("$screen_check" trace "$folder/circles.jpg")
    check "only the first window exists before the first key" test -z "$(window_id "my window 2")"
    check "the first window shows the picture pixel for pixel" \
        screen_shows "$before" grey "$folder/circles.jpg"

    press_key "$before" a
    after=$(wait_window "my window 2")
    check "any key opens the second window" test -n "$after"
    xdotool windowmove "$after" 0 600   # no window manager: both open at 0,0
    check "the second window shows the median-filtered picture" \
        screen_shows "$after" median "$folder/circles.jpg"
    check "the first window still shows the unfiltered picture" \
        screen_shows "$before" grey "$folder/circles.jpg"
    check "the program waits for a second key" kill -0 "$program_pid"

    press_key "$after" Return
    wait_program_end 5
    check "the second key ends it with status 0 (got $program_status)" test "$program_status" = 0
    check "nothing goes to stderr" test ! -s "$work/err"
}

tiny_picture() {
    local folder="$work/tiny"
    mkdir "$folder"
    convert -size 2x2 xc:gray50 "png:$folder/circles.jpg"
    start_program "$folder" "$speckwipe"
    local before after
    before=$(wait_window "my window")
    check "a 2x2 picture is shown" test -n "$before"
    press_key "$before" space
    after=$(wait_window "my window 2")
    check "and shown again after a key" test -n "$after"
    press_key "$after" space
    wait_program_end 5
    check "a 2x2 picture ends with status 0 (got $program_status)" test "$program_status" = 0
    check "a 2x2 picture traces nothing" test ! -s "$work/out"
}

# refused WHAT REASON: with $folder/circles.jpg prepared, the program must
# end by itself with status 1, one line on stderr, no trace and no window.
refused() {
    start_program "$folder" "$speckwipe"
    wait_program_end 5
    check "$1: status 1 (got $program_status)" test "$program_status" = 1
    check "$1: says why on stderr" \
        test "$(cat "$work/err")" = "speckwipe: cannot read $folder/circles.jpg: $2"
    check "$1: no trace" test ! -s "$work/out"
}

unreadable_pictures() {
    folder="$work/missing"
    mkdir "$folder"
    refused "missing picture" "no such file"
    folder="$work/directory"
    mkdir -p "$folder/circles.jpg"
    refused "directory at the path" "is a directory"
    folder="$work/empty"
    mkdir "$folder"
    : >"$folder/circles.jpg"
    refused "empty file" "empty file"
    folder="$work/garbage"
    mkdir "$folder"
    head -c 4096 /dev/urandom >"$folder/circles.jpg"
    refused "random bytes" "not a picture this program can decode"
}

normal_run
tiny_picture
unreadable_pictures
finish
