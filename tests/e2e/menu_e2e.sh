#!/bin/bash
# The desktop entries as a desktop's menu starts them: the build installed
# into a scratch prefix, each entry launched with gio (as GNOME's and
# other GLib desktops' launchers do) on a private X display with xterm as
# the terminal. Each program must open "my window" on the sample picture,
# write into its terminal (speckwipe's trace), and end on its keys, its
# terminal with it.
# Usage: menu_e2e.sh BUILD_FOLDER SCREEN_CHECK
build=$1
screen_check=$2
source "$(dirname "$0")/../lib/tally.sh"
source "$(dirname "$0")/../lib/runs.sh"
source "$(dirname "$0")/../lib/x_desktop.sh"
start_scratch
start_x_desktop
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
samples="$prefix/share/speckrim/samples"
# xterm writes what the program prints to a file as well as to its window;
# the resources go by its instance name, since GLib may start it with the
# class UXTerm (Debian 13).
printf 'xterm*logging: true\nxterm*logFile: %s\n' "$work/terminal.log" | xrdb -merge

terminal_open() { [ -n "$(xdotool search --class xterm 2>/dev/null)" ]; }
terminal_gone() { ! terminal_open; }

# How many lines of the terminal are a trace line: nine values, each
# followed by a space (the terminal ends its lines with a carriage return).
trace_lines() { tr -d '\r' <"$work/terminal.log" 2>/dev/null | grep -cE '^([0-9]+ ){9}$'; }

# launch PROGRAM: starts the program's entry as a menu does.
launch() {
    rm -f "$work/terminal.log"
    gio launch "$prefix/share/applications/$1.desktop" 2>"$work/gio.err"
    check "$1's entry launches (gio: $(cat "$work/gio.err"))" test $? = 0
    check "$1's entry opens a terminal" eventually terminal_open
}

launch speckwipe
window=$(wait_window x "my window")
check "speckwipe from the menu: my window opens" test -n "$window"
check "speckwipe from the menu: it shows the sample picture pixel for pixel" \
    screen_shows x "$screen_check" "$window" grey "$samples/circles.jpg"
check "speckwipe from the menu: its trace is in the terminal, eight lines of nine values" \
    eventually test "$(trace_lines)" = 8
[ -n "$window" ] && keep_pressing x "$window" space window_open x "my window 2"
window=$(wait_window x "my window 2")
[ -n "$window" ] && keep_pressing x "$window" space terminal_gone
check "speckwipe from the menu: it ends on a key in each window, and its terminal with it" terminal_gone

launch rimtrace
window=$(wait_window x "my window")
check "rimtrace from the menu: my window opens" test -n "$window"
check "rimtrace from the menu: it shows the sample's map at 100 pixel for pixel" \
    screen_shows x "$screen_check" "$window" edges "$samples/vantrel.jpg" 100
[ -n "$window" ] && keep_pressing x "$window" Escape terminal_gone
check "rimtrace from the menu: Esc ends it, and its terminal with it" terminal_gone
finish
