# Hostile and unusual inputs, the same for both programs. Sourced after
# tests/lib's tally.sh and runs.sh by a program's test script, which sets:
#   program      the program's name, as it starts its messages
#   binary       the program to run
#   picture      the file name it reads from its working directory
#   work_size    "picture" when the program's work needs images of the
#                picture's size beside it (speckwipe's filtered copy),
#                "screen" when none larger than the screen (rimtrace's view)
#   run_to_end   a function: run_to_end FOLDER WHAT [CHECK-ARGS...] drives a
#                started program through its normal run and records checks
# Each case runs in a fresh folder; the program must show the picture and end
# normally, or refuse with one line on stderr and status 1.

# case_folder NAME: a fresh folder for one case, in $folder.
case_folder() {
    folder="$work/case-$1"
    mkdir -p "$folder"
    chmod 755 "$work" "$folder"
}

# refuses WHAT LINE [COMMAND-PREFIX...]: runs the program in $folder and
# expects exactly LINE on stderr, status 1, nothing on stdout.
refuses() {
    local what=$1 line=$2
    shift 2
    start_program "$folder" "$@" "$binary"
    wait_program_end 10
    check "$what: status 1 (got $program_status)" test "$program_status" = 1
    check "$what: says why on stderr" test "$(cat "$work/err")" = "$line"
    check "$what: nothing on stdout" test ! -s "$work/out"
}

refused_pictures() {
    local prefix="$program: cannot read"
    case_folder missing
    refuses "missing picture" "$prefix $folder/$picture: no such file"
    case_folder directory
    mkdir "$folder/$picture"
    refuses "a directory at the path" "$prefix $folder/$picture: is a directory"
    case_folder loop
    ln -s "$picture" "$folder/$picture"
    refuses "a symlink loop" "$prefix $folder/$picture: too many levels of symbolic links"
    case_folder fifo
    mkfifo "$folder/$picture"
    refuses "a FIFO at the path" "$prefix $folder/$picture: not a regular file"
    case_folder socket
    "$screen_check" socket "$folder/$picture"
    refuses "a socket at the path" "$prefix $folder/$picture: not a regular file"
    case_folder empty
    : >"$folder/$picture"
    refuses "an empty file" "$prefix $folder/$picture: empty file"
    case_folder random
    head -c 65536 /dev/urandom >"$folder/$picture"
    refuses "random bytes" "$prefix $folder/$picture: not a picture this program can decode"
    case_folder text
    printf 'this is not a picture\n' >"$folder/$picture"
    refuses "a text file" "$prefix $folder/$picture: not a picture this program can decode"
    case_folder huge
    "$screen_check" huge-png "$folder/$picture"
    refuses "a PNG claiming 200000x200000 pixels" "$prefix $folder/$picture: picture too large to load"
    case_folder private
    convert -size 8x8 xc:gray50 "png:$folder/$picture"
    if [ "$(id -u)" = 0 ]; then
        # Root reads any file: the program runs as nobody, on root's file,
        # from a copy nobody may run (the build may lie in a folder only
        # root can enter, /root).
        chmod 600 "$folder/$picture"
        cp "$binary" "$work/$program-copy"
        binary="$work/$program-copy" refuses "a picture without read permission" \
            "$prefix $folder/$picture: permission denied" setpriv --reuid=65534 --regid=65534 --clear-groups
    else
        chmod 000 "$folder/$picture"  # a file its owner may not read
        refuses "a picture without read permission" "$prefix $folder/$picture: permission denied"
    fi
}

# A picture too large for the memory left to decode it is refused. One
# that loads, with memory for little more than itself (the address space
# limited, as on a small machine or in a container): refused where the work
# needs as much again, shown where it needs a screenful.
refused_for_memory() {
    case_folder memory
    # An emulator takes address space of its own, a few hundred megabytes
    # that move the limits: these cases mean something only natively.
    if emulated; then echo "skipped: memory limits, under an emulator"; return; fi
    "$screen_check" large-png 20000 "$folder/$picture"
    # Memory running out while decoding is said as it is later, not as a
    # fault of the file's.
    refuses "a 20000x20000 picture with too little memory to decode it" \
        "$program: not enough memory for $folder/$picture" sh -c 'ulimit -v 450000 && exec "$0"'
    local what="a 20000x20000 picture with memory for little more than itself"
    if [ "$work_size" = picture ]; then
        refuses "$what" "$program: not enough memory for $folder/$picture (20000x20000 pixels)" \
            sh -c 'ulimit -v 800000 && exec "$0"'
    else
        start_program "$folder" sh -c 'ulimit -v 800000 && exec "$0"' "$binary"
        run_to_end "$folder" "$what"
        # Just above that, Qt's own start once hung for good (a thread it
        # could not start) or painted nothing: now the program refuses
        # there, or shows the map, and nothing else reaches stderr.
        local limit
        for limit in 640000 650000 660000; do
            what="a 20000x20000 picture within $limit KB"
            start_program "$folder" sh -c "ulimit -v $limit && exec \"\$0\"" "$binary"
            if within 150 window_or_end && program_ended; then
                wait_program_end 1
                check "$what: refused with status 1 (got $program_status)" test "$program_status" = 1
                check "$what: says it lacks memory" grep -q "^$program: not enough memory for " "$work/err"
            else
                run_to_end "$folder" "$what"
            fi
            check "$what: one line on stderr at most" test "$(wc -l <"$work/err")" -le 1
        done
    fi
}

window_or_end() { program_ended || window_open x "my window"; }

refused_displays() {
    case_folder display
    convert -size 8x8 xc:gray50 "png:$folder/$picture"
    refuses "DISPLAY unset" "$program: cannot open a window: DISPLAY is not set" env -u DISPLAY
    refuses "DISPLAY unset, QT_QPA_PLATFORM empty" \
        "$program: cannot open a window: DISPLAY is not set" env -u DISPLAY QT_QPA_PLATFORM=
    refuses "QT_QPA_PLATFORM naming a platform Qt lacks" \
        "$program: cannot open a window: Qt has no platform plugin named \"no-such-platform\"" \
        env QT_QPA_PLATFORM=no-such-platform
    local unused=$((${DISPLAY#:} + 1))
    # Free in the file system and among abstract sockets, which a server
    # in another mount namespace (a chroot's) may hold; then held with a
    # lock file of ours, as an X server holds its number, so that one
    # starting meanwhile (another suite's, under ctest -j2) takes another
    # and the program finds no server there, not a desktop to open on.
    while [ -e "/tmp/.X11-unix/X$unused" ] || grep -q "@/tmp/.X11-unix/X$unused\$" /proc/net/unix ||
        ! (set -C && printf '%10d\n' $$ >"/tmp/.X$unused-lock") 2>/dev/null; do
        unused=$((unused + 1))
    done
    on_exit "rm -f /tmp/.X$unused-lock"
    refuses "DISPLAY naming no server" \
        "$program: cannot open a window on display :$unused: no X server answers" \
        env DISPLAY=":$unused"
    refuses "DISPLAY naming a screen the server lacks" \
        "$program: cannot open a window on display $DISPLAY.5: no such screen" \
        env DISPLAY="$DISPLAY.5"
    refuses "a DISPLAY that is no display name" \
        "$program: cannot open a window on display nonsense: not a valid X display name" \
        env DISPLAY=nonsense
    # A server that wants a cookie (any, from -auth's file) the program lacks.
    xauth -q -f "$work/cookies" add :0 . "$(mcookie)"
    Xvfb -displayfd 4 -auth "$work/cookies" -nolisten tcp 4>"$work/guarded" 2>/dev/null &
    local guarded_pid=$!
    eventually test -s "$work/guarded"
    refuses "an X server that wants authorization" \
        "$program: cannot open a window on display :$(cat "$work/guarded"): the X server refused the connection: Authorization required, but no authorization protocol specified" \
        env DISPLAY=":$(cat "$work/guarded")" XAUTHORITY="$work/cookies-none"
    kill "$guarded_pid"
}

# Displays that are not refused: a DISPLAY with its screen number, X asked
# for with an option of Qt's, and another Qt platform (then Qt judges, and
# the program runs on).
shown_displays() {
    case_folder screen
    convert -size 200x150 gradient:orange-navy "png:$folder/$picture"
    start_program "$folder" env DISPLAY="$DISPLAY.0" "$binary"
    run_to_end "$folder" "DISPLAY with screen 0"
    start_program "$folder" env QT_QPA_PLATFORM="xcb:nograb" "$binary"
    run_to_end "$folder" "QT_QPA_PLATFORM=xcb with an option"
    start_program "$folder" env -u DISPLAY QT_QPA_PLATFORM=offscreen "$binary"
    sleep 2
    check "QT_QPA_PLATFORM=offscreen without DISPLAY is left to Qt" kill -0 "$program_pid"
    kill "$program_pid"
    wait_program_end 5
}

# shown WHAT CHECK-MODE: the program in $folder runs normally; CHECK-MODE
# (grey, edges ...) checks the window pixel for pixel, or "-" for pictures
# too small for that (Qt scales them up).
shown() {
    start_program "$folder" "$binary"
    run_to_end "$folder" "$@"
}

shown_pictures() {
    case_folder colour
    convert -size 200x150 gradient:orange-navy -swirl 120 "jpg:$folder/$picture"
    shown "a colour JPEG, as grey" grey
    case_folder rgba
    convert -size 200x150 gradient:red-blue -alpha set -channel A -evaluate set 40% +channel \
        "png32:$folder/$picture"
    shown "an RGBA PNG, as grey" grey
    case_folder deep
    convert -size 200x150 gradient:black-white -depth 16 "png48:$folder/$picture"
    shown "a 16-bit PNG, as 8-bit grey" grey
    case_folder truncated
    head -c 30000 "$sample" >"$folder/$picture"
    shown "a truncated JPEG" -
    local size
    for size in 1x1 1x40 40x1; do
        case_folder "tiny-$size"
        convert -size "$size" xc:gray60 "png:$folder/$picture"
        shown "a ${size} picture" -
    done
}

hostile_inputs() {
    refused_pictures
    refused_for_memory
    refused_displays
    shown_displays
    shown_pictures
}
