# An X desktop for the tests: Xvfb with the openbox window manager, and the
# steps a user takes there (x_window_id, x_press_key, x_shoot,
# x_close_window, x_activate, x_scale), named for the desktop so that a
# script may drive an X and a Wayland desktop side by side. Needs runs.sh's
# start_scratch first; Xvfb, openbox, wmctrl, xdotool, x11-utils,
# x11-xserver-utils and ImageMagick. Sets DISPLAY.

# start_x_desktop [WxH]: Xvfb on a display number it picks itself
# (-displayfd), 1920x1080 like a common screen unless given, with openbox;
# both go at exit.
# -noreset: by default Xvfb resets whenever its last client leaves, and a
# reset drops a program that is connecting at that moment; a desktop never
# resets.
start_x_desktop() {
    local tries=0 here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    Xvfb -displayfd 3 -screen 0 "${1:-1920x1080}x24" -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    on_exit "kill $! 2>/dev/null"
    while [ ! -s "$work/display" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    [ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
    export DISPLAY=":$(cat "$work/display")"
    # An absolute path: openbox leaves the working directory, and without its
    # file it would take the default one, which keeps Alt+Esc for itself.
    openbox --sm-disable --config-file "$here/openbox-rc.xml" >"$work/openbox.log" 2>&1 &
    on_exit "kill $! 2>/dev/null"
    tries=0
    while ! xprop -root _NET_WORKAREA 2>/dev/null | grep -q = && [ $tries -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
}

# x_scale DPI: scales the desktop as GNOME on X does, through the Xft.dpi
# resource that programs read as they start: 192 is 200 %, 144 is 150 %,
# 96 is unscaled. Needs xrdb.
x_scale() { echo "Xft.dpi: $1" | xrdb -merge; }

# x_program_is ID NAME: the window names NAME as its program to the desktop,
# as instance and class of its WM_CLASS, by which GNOME matches a menu
# entry, and as the entry KWin is to take.
x_program_is() {
    [ "$(xprop -id "$1" WM_CLASS _KDE_NET_WM_DESKTOP_FILE 2>/dev/null)" = "WM_CLASS(STRING) = \"$2\", \"$2\"
_KDE_NET_WM_DESKTOP_FILE(UTF8_STRING) = \"$2\"" ]
}

# Prints the id of the visible window named exactly $1.
x_window_id() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }

# x_press_key WINDOW_ID KEY: gives the window the focus, then types the key
# once the focus is there: a key typed before goes to the window that had
# it (on a busy machine the window manager may hand the focus on late).
x_press_key() {
    local tries=0
    xdotool windowfocus --sync "$1" 2>/dev/null
    while [ "$(xdotool getwindowfocus 2>/dev/null)" != "$1" ] && [ $tries -lt $((20 * slow)) ]; do
        sleep 0.1
        xdotool windowfocus --sync "$1" 2>/dev/null
        tries=$((tries + 1))
    done
    xdotool key "$2"
}

# x_shoot WINDOW_ID FILE: the window's inside, as the screen shows it.
x_shoot() { import -window "$1" "png:$2" 2>/dev/null; }

# x_width_is WINDOW_ID WIDTH: the window's inside is WIDTH screen pixels wide.
x_width_is() {
    local width
    width=$(xwininfo -id "$1" 2>/dev/null | awk '/Width:/ {print $2}')
    echo "    the window is ${width:-no} pixels wide"
    [ "$width" = "$2" ]
}

# x_activate WINDOW_ID: makes it the active window, raised, through the
# window manager, as a user's click does.
x_activate() { timeout 5 xdotool windowactivate --sync "$1" 2>/dev/null && sleep 0.3; }

# x_close_window NAME: asks the window manager to close the window, as its
# title bar's close button does.
x_close_window() { wmctrl -c "$1"; }

# read_placement WINDOW_ID: sets $area (the work area: x y width height),
# $client (the window's inside: x y width height) and $frame (the window
# with the window manager's frame, _NET_FRAME_EXTENTS: left top right bottom).
read_placement() {
    local edge
    read -r -a area < <(xprop -root _NET_WORKAREA | sed 's/.*= //; s/,//g')
    read -r -a edge < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    read -r -a client < <(xwininfo -id "$1" | awk -F: '/Absolute upper-left|Width|Height/ {printf "%d ", $2}')
    frame=($((client[0] - edge[0])) $((client[1] - edge[2]))
        $((client[0] + client[2] + edge[1])) $((client[1] + client[3] + edge[3])))
}

# inside_work_area WINDOW_ID: the window with its frame lies inside the
# work area.
inside_work_area() {
    [ -n "$1" ] || return 1  # xwininfo without a window waits for a click
    read_placement "$1"
    echo "    work area ${area[*]:0:4}; window with its frame from ${frame[0]},${frame[1]} to ${frame[2]},${frame[3]}"
    [ "${frame[0]}" -ge "${area[0]}" ] && [ "${frame[1]}" -ge "${area[1]}" ] &&
        [ "${frame[2]}" -le $((area[0] + area[2])) ] && [ "${frame[3]}" -le $((area[1] + area[3])) ]
}

# The window pixels the fit keeps for the window manager's title bar and
# borders, as the desktop layer names them.
x_frame_margin=$(sed -n 's/.*kWindowManagerFrameHeight = \([0-9]*\);.*/\1/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../../desktop/linux/window_frame.cpp")

# fills_work_area WINDOW_ID [RATIO]: a picture taller than the work area
# allows (in its proportions) is shown as tall as it may be, in the work
# area's top-left corner: the window with its frame lies inside, there (to
# the window pixel), and its inside is as high as the work area less the
# frame margin above, give or take the bars' error the program takes back:
# up to 4 window pixels less where Qt's bars are lower than the fit first
# assumed, up to 16 more where they are higher (Qt 5.15 on Debian 13 lays the bars
# of a narrow window out 11 pixels higher now and then); a window pixel is
# RATIO screen pixels on a side (Qt's scale; 1 by default).
fills_work_area() {
    local ratio=${2:-1} left_over
    inside_work_area "$1" || return 1
    left_over=$((area[3] - ${x_frame_margin:?not found in the desktop layer} * ratio - client[3]))
    echo "    inside ${client[2]}x${client[3]}, for a work area ${area[3]} high: $left_over screen pixels left over"
    [ $((frame[0] - area[0])) -lt "$ratio" ] && [ $((frame[1] - area[1])) -lt "$ratio" ] &&
        [ $left_over -le $((4 * ratio)) ] && [ $left_over -ge $((-16 * ratio)) ]
}

# left_where_placed WINDOW_ID: a window that fits is left where the window
# manager put it (openbox centres it), not moved to the work area's corner.
left_where_placed() {
    sleep 0.5
    read_placement "$1"
    echo "    work area ${area[*]:0:4}; window with its frame at ${frame[0]},${frame[1]}"
    [ "${frame[0]}" != "${area[0]}" ] || [ "${frame[1]}" != "${area[1]}" ]
}
