#!/bin/bash
# One end-to-end run of each program under valgrind's memcheck: any error
# or definite leak of our own (tests/valgrind/ours.awk says which reports
# are ours) fails the run.
# Usage: valgrind_e2e.sh SPECKWIPE RIMTRACE
speckwipe=$1
rimtrace=$2
ours="$(dirname "$0")/../valgrind/ours.awk"
source "$(dirname "$0")/../lib/tally.sh"
source "$(dirname "$0")/../lib/runs.sh"
source "$(dirname "$0")/../lib/x_desktop.sh"
start_scratch
start_x_desktop

memcheck() {
    echo valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite \
        --num-callers=40 --log-file="$work/memcheck-$1-%p.log"
}

# Under valgrind everything is slower: wait up to a minute for a window.
slow_window() { wait_window x "$1" 60; }

# clean NAME BINARY: the program ended with 0 and memcheck found no
# report of ours.
clean() {
    local found
    found=$(awk -v program="$2" -f "$ours" "$work"/memcheck-"$1"-*.log)
    check "$1 under memcheck: ends with status 0 (got $program_status)" test "$program_status" = 0
    check "$1 under memcheck: no error or definite leak in our code" test -z "$found"
    [ "$program_status" = 0 ] || cat "$work/err"
    [ -z "$found" ] || grep -h -F -A14 -e "$found" "$work"/memcheck-"$1"-*.log
}

speckwipe_run() {
    local folder="$work/speckwipe" window
    mkdir "$folder"
    convert -size 160x120 gradient:gray15-gray85 -swirl 150 "jpg:$folder/circles.jpg"
    start_program "$folder" $(memcheck speckwipe) "$speckwipe"
    window=$(slow_window "my window")
    [ -n "$window" ] && keep_pressing x "$window" a window_open x "my window 2"
    window=$(x_window_id "my window 2")
    [ -n "$window" ] && keep_pressing x "$window" a program_ended
    wait_program_end 60
    clean speckwipe "$speckwipe"
}

rimtrace_run() {
    local folder="$work/rimtrace" window
    mkdir "$folder"
    convert -size 160x120 gradient:gray90-gray10 -swirl 200 "jpg:$folder/vantrel.jpg"
    start_program "$folder" $(memcheck rimtrace) "$rimtrace"
    window=$(slow_window "my window")
    sleep 3  # a few refreshes
    [ -n "$window" ] && x_press_key "$window" a && sleep 1 &&
        keep_pressing x "$window" Escape program_ended
    wait_program_end 60
    clean rimtrace "$rimtrace"
}

# The rule itself, on a log of the shape memcheck writes: a leak made by
# new in the program counts, one made inside Qt does not.
rule_counts_only_ours() {
    local found
    found=$(awk -v program=/x/speckwipe -f "$ours" <<'LOG'
==7== 256 bytes in 1 blocks are definitely lost in loss record 9 of 80
==7==    at 0x4849013: operator new[](unsigned long) (in /usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so)
==7==    by 0x10A4F2: main (in /x/speckwipe)
==7== 
==7== 64 bytes in 1 blocks are definitely lost in loss record 5 of 80
==7==    at 0x4849013: malloc (in /usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so)
==7==    by 0x5A1B2C3: ??? (in /usr/lib/x86_64-linux-gnu/libQt5Core.so.5.15.8)
==7==    by 0x10A4F2: main (in /x/speckwipe)
LOG
)
    [ "$found" = "256 bytes in 1 blocks are definitely lost in loss record 9 of 80" ]
}

check "the memcheck rule counts our leak and not Qt's" rule_counts_only_ours
speckwipe_run
rimtrace_run
finish
