# A Wayland desktop for the tests: sway, headless, drawing in memory, and
# the steps a user takes there, as x_desktop.sh's for X (sway_window_id,
# sway_press_key, sway_shoot, sway_close_window), done through sway's IPC
# (swaymsg), wtype and grim. Needs runs.sh's start_scratch first; sway,
# wtype, grim and jq. sway refuses to run as root, so as root it and the
# programs run as nobody.

# start_sway: sway on a 1920x1080 output, gone at exit; sets
# $wayland_display and the command prefix $as_wayland_user (run with the
# session's environment, as nobody when root).
start_sway() {
    local runtime="$work/wayland" tries=0 user=()
    chmod 755 "$work"
    mkdir -m 700 "$runtime"
    if [ "$(id -u)" = 0 ]; then
        chown nobody "$runtime"
        user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    printf 'output HEADLESS-1 resolution 1920x1080\nxwayland disable\n' >"$work/sway.conf"
    as_wayland_user=("${user[@]}" env -i HOME="$work" XDG_RUNTIME_DIR="$runtime" PATH="$PATH" LANG=C.UTF-8)
    "${as_wayland_user[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
    on_exit "kill $! 2>/dev/null"
    while [ -z "$(sway_socket)" ] && [ $tries -lt $((100 * slow)) ]; do sleep 0.1; tries=$((tries + 1)); done
    [ -n "$(sway_socket)" ] || { echo "sway did not start"; tail -n 20 "$work/sway.log"; exit 1; }
    wayland_display=$(basename "$(ls "$runtime"/wayland-* | grep -v '\.lock$' | head -n 1)")
    as_wayland_user+=(WAYLAND_DISPLAY="$wayland_display" SWAYSOCK="$(sway_socket)")
}
sway_socket() { ls "$work"/wayland/sway-ipc.*.sock 2>/dev/null; }

swaymsg_() { "${as_wayland_user[@]}" swaymsg "$@"; }

# Prints what jq's FILTER makes of the window named exactly $1.
window_field() {
    swaymsg_ -t get_tree 2>/dev/null |
        jq -r --arg name "$1" "[.. | objects | select(.pid? and .name == \$name)][0] | $2 // empty"
}
sway_window_id() { window_field "$1" .id; }
window_name() { swaymsg_ -t get_tree | jq -r ".. | objects | select(.id? == $1) | .name"; }

# The window's inside, as grim's -g takes it: "x,y widthxheight".
window_geometry() {
    window_field "$(window_name "$1")" \
        '"\(.rect.x + .window_rect.x),\(.rect.y + .window_rect.y) \(.window_rect.width)x\(.window_rect.height)"'
}

# sway_width_is NAME WIDTH: the window's inside is WIDTH logical pixels wide.
sway_width_is() {
    local width
    width=$(window_field "$1" .window_rect.width)
    echo "    the window is ${width:-no} logical pixels wide"
    [ "$width" = "$2" ]
}

# sway_press_key WINDOW_ID KEY: focuses the window, then types the key.
# wtype's virtual keyboard loses keys typed at once after it appears: -s waits.
sway_press_key() {
    swaymsg_ "[con_id=$1] focus" >/dev/null
    "${as_wayland_user[@]}" wtype -s 400 -k "$2"
}

# sway_shoot WINDOW_ID FILE: the window's inside, as the output shows it.
sway_shoot() { "${as_wayland_user[@]}" grim -g "$(window_geometry "$1")" - >"$2" 2>/dev/null; }

# sway_close_window NAME: asks the compositor to close the window, as a
# user's close shortcut does.
sway_close_window() { swaymsg_ "[con_id=$(sway_window_id "$1")] kill" >/dev/null; }

# sway_scale N: scales the output as a user's "output NAME scale N" does;
# windows opened after it draw N screen pixels to a logical one.
sway_scale() { swaymsg_ "output HEADLESS-1 scale $1" >/dev/null; }

# on_output NAME: the window named so, its title bar included, lies inside
# the output (1920x1080 screen pixels; half as many logical ones on a side
# at scale 2). With WHAT "inside", only the window's inside needs to.
on_output() {
    local left top right bottom width height
    read -r width height < <(swaymsg_ -t get_outputs | jq -r '.[0].rect | "\(.width) \(.height)"')
    if [ "${2:-}" = inside ]; then
        read -r left top right bottom < <(window_field "$1" \
            '"\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.rect.x + .window_rect.x + .window_rect.width) \(.rect.y + .window_rect.y + .window_rect.height)"')
    else
        read -r left top right bottom < <(window_field "$1" \
            '"\(.rect.x) \(.rect.y - .deco_rect.height) \(.rect.x + .rect.width) \(.rect.y + .rect.height)"')
    fi
    echo "    output 0,0 to $width,$height; window ${2:-with its title bar} from $left,$top to $right,$bottom"
    [ -n "$bottom" ] && [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ "$right" -le "$width" ] && [ "$bottom" -le "$height" ]
}
