# rimtrace's slider and map as the screen shows them on an X desktop, for
# its end-to-end tests. Needs runs.sh's $work and x_desktop.sh.

# drag_slider SCREEN_CHECK FINDER WINDOW_ID PIXELS: drags the slider's
# handle that far (to the left when negative), or with -N% N percent of
# the way back to the groove's left end, with the mouse, as a user would.
# SCREEN_CHECK finds the handle with FINDER: "handle" (Qt's slider; it
# needs some blue groove left of the handle) or "win32-thumb" (the Win32
# trackbar, which gives no groove end: no -N% there).
drag_slider() {
    local screen_check=$1 finder=$2 window=$3 distance=$4 x y left
    x_shoot "$window" "$work/shot.png" || return 1
    read -r x y left < <("$screen_check" "$finder" "$work/shot.png")
    [ -n "$x" ] || return 1
    [[ $distance == *% ]] && distance=$(((left - x) * ${distance//[-%]/} / 100))
    xdotool mousemove --window "$window" "$x" "$y" sleep 0.2 mousedown 1 sleep 0.2 \
        mousemove --window "$window" $((x + distance / 2)) "$y" sleep 0.1 \
        mousemove --window "$window" $((x + distance)) "$y" sleep 0.2 mouseup 1
}

# shown_thresholds SCREEN_CHECK PICTURE WINDOW_ID: prints the thresholds
# whose edge map of PICTURE the window shows now.
shown_thresholds() {
    x_shoot "$3" "$work/shot.png" && "$1" thresholds "$2" "$work/shot.png"
}

# shows_threshold SCREEN_CHECK PICTURE WINDOW_ID T: the window shows the
# map at T (and maybe at others that give the same map).
shows_threshold() { [[ " $(shown_thresholds "$1" "$2" "$3") " == *" $4 "* ]]; }
