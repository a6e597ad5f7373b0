#!/bin/bash
# One end-to-end run of each program under valgrind's memcheck: any error
# or definite leak left after tests/valgrind/desktop.supp (the desktop
# libraries' own reports) fails the run.
# Usage: valgrind_e2e.sh SPECKWIPE RIMTRACE SUPPRESSIONS
speckwipe=$1
rimtrace=$2
suppressions=$3
source "$(dirname "$0")/lib.sh"
start_display

memcheck() {
    echo valgrind --tool=memcheck --error-exitcode=42 --leak-check=full \
        --show-leak-kinds=definite --errors-for-leak-kinds=definite --num-callers=40 \
        --suppressions="$suppressions" --log-file="$work/memcheck-$1-%p.log"
}

# Under valgrind everything is slower: wait up to a minute for a window.
slow_window() { wait_window "$1" 60; }

program_ended() { ! kill -0 "$program_pid" 2>/dev/null; }
second_window_open() { [ -n "$(window_id "my window 2")" ]; }

# keep_pressing WINDOW_ID KEY CONDITION: presses the key, then gives the
# slowed-down program 5 s to show CONDITION; tries for up to a minute.
# Under valgrind a key sent while Qt is still settling can be lost.
keep_pressing() {
    local window=$1 key=$2 condition=$3 tries=0 tenths
    while [ $tries -lt 12 ]; do
        press_key "$window" "$key"
        for tenths in $(seq 50); do
            "$condition" && return 0
            sleep 0.1
        done
        tries=$((tries + 1))
    done
    return 1
}

# clean NAME: the program ended with 0 (valgrind's 42 means errors).
clean() {
    check "$1 under memcheck: no error in our code (status $program_status)" \
        test "$program_status" = 0
    if [ "$program_status" != 0 ]; then
        cat "$work/err"
        grep -E '^==[0-9]+== (Invalid|Conditional|Syscall|Use of|[0-9,]+ bytes)' -A15 \
            "$work"/memcheck-"$1"-*.log | head -80
    fi
}

speckwipe_run() {
    local folder="$work/speckwipe" window
    mkdir "$folder"
    convert -size 160x120 gradient:gray15-gray85 -swirl 150 "jpg:$folder/circles.jpg"
    start_program "$folder" $(memcheck speckwipe) "$speckwipe"
    window=$(slow_window "my window")
    [ -n "$window" ] && keep_pressing "$window" a second_window_open
    window=$(window_id "my window 2")
    [ -n "$window" ] && keep_pressing "$window" a program_ended
    wait_program_end 60
    clean speckwipe
}

rimtrace_run() {
    local folder="$work/rimtrace" window
    mkdir "$folder"
    convert -size 160x120 gradient:gray90-gray10 -swirl 200 "jpg:$folder/vantrel.jpg"
    start_program "$folder" $(memcheck rimtrace) "$rimtrace"
    window=$(slow_window "my window")
    sleep 3  # a few refreshes
    [ -n "$window" ] && press_key "$window" a && sleep 1 &&
        keep_pressing "$window" Escape program_ended
    wait_program_end 60
    clean rimtrace
}

speckwipe_run
rimtrace_run
finish
