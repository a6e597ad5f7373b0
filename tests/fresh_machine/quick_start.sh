#!/bin/bash
# The README's Quick start on a fresh minimal Debian, as a new user meets it.
# For each release named: a debootstrap --variant=minbase system (made once
# and cached), copied afresh, with the committed tree (git archive HEAD) in
# /root/project. There, as root, exactly as the README writes them:
#   1. the run command, on a real X display (an Xvfb out here, its socket
#      bound into the copy): it must open "my window"; keys end it, status 0;
#   2. the test command: status 0;
#   3. the Debian package, built there (scripts/build-deb) and tested
#      installed by autopkgtest (debian/tests): status 0.
# Then, in another fresh copy, 1 and 2 again as an ordinary user with sudo,
# as a Debian desktop install sets up its first user (its password, which
# sudo would ask for, given up front: NOPASSWD), in ~/project.
# Prints one summary line per release and the plain tally last.
# Needs root, debootstrap, Xvfb and xdotool; the mirror is the one this
# machine's apt sources name.
# Usage: tests/fresh_machine/quick_start.sh [--arch ARCH] RELEASE...
#   (e.g. bookworm trixie). With --arch arm64 on an x86-64 machine the
#   Debian is arm64, run through qemu-user-static and binfmt_misc (about
#   30 minutes a release): the test limits are then ten times as long.
# Cached bases live in $FRESH_CACHE (default /var/cache/speckrim-fresh).
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
cache=${FRESH_CACHE:-/var/cache/speckrim-fresh}
source "$here/../lib/tally.sh"
source "$here/../lib/runs.sh"
source "$here/../lib/x_desktop.sh"
source "$here/mirror.sh"
arch=$(dpkg --print-architecture)
native=$arch
if [ "${1:-}" = --arch ]; then arch=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: $0 [--arch ARCH] RELEASE..." >&2; exit 2; }
time_scale=1
[ "$arch" = "$native" ] || time_scale=10

# The Quick start's fenced commands, in order: run, then test.
readme_command() {
    awk '/^## Quick start/ {on = 1; next} /^## / {on = 0}
         on && /^ *```/ {fence = !fence; if (fence) block++; next}
         on && fence && block == n {sub(/^ +/, ""); print}' n="$1" "$project/README.md"
}

# Runs programs of another architecture through qemu-user-static: the
# kernel's binfmt_misc hands them to the emulator (loaded at once, "F", so
# that it works inside the chroot too).
enable_emulation() {
    local name="qemu-${1/arm64/aarch64}"
    [ -e "/proc/sys/fs/binfmt_misc/$name" ] && return 0
    mountpoint -q /proc/sys/fs/binfmt_misc ||
        mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc || return 1
    [ -e "/usr/lib/binfmt.d/$name.conf" ] ||
        { echo "quick_start: install qemu-user-static to run $1 programs" >&2; return 1; }
    cat "/usr/lib/binfmt.d/$name.conf" >/proc/sys/fs/binfmt_misc/register
}

# base RELEASE: prints the cached minimal system's folder, making it once.
base() {
    local folder="$cache/$1"
    [ "$arch" = "$native" ] || folder="$cache/$1-$arch"
    if [ ! -e "$folder/.complete" ]; then
        rm -rf --one-file-system "$folder"
        mkdir -p "$cache"
        debootstrap --variant=minbase --arch="$arch" "$1" "$folder" "$(debian_mirror)" >"$folder.log" 2>&1 ||
            { tail -n 20 "$folder.log" >&2; return 1; }
        touch "$folder/.complete"
    fi
    echo "$folder"
}

# Fresh kernel file systems for the copy; nothing of this machine's /dev.
mount_system() {
    mount -t proc proc "$1/proc"
    mount -t sysfs sys "$1/sys"
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$1/dev/pts"
    mount -t tmpfs tmpfs "$1/dev/shm"
}

unmount_all() {
    local point
    for point in $(findmnt -rn -o TARGET | grep "^$1/" | sort -r); do umount -l "$point"; done
}

# The ordinary user of the copies, and where each user's tree is.
user=tester
home() { if [ "$1" = root ]; then echo /root; else echo "/home/$1"; fi; }

# copy_command ROOT WHO COMMAND...: sets $command to run a command in the
# copy as WHO (root or $user), with a login-like environment. The user is
# named by its numbers in the copy's own files.
copy_command() {
    local who=$2 path=/usr/local/bin:/usr/bin:/bin ids
    [ "$who" = root ] && path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
    ids=$(awk -F: -v name="$who" '$1 == name {print $3 ":" $4}' "$1/etc/passwd")
    command=(chroot --userspec="$ids" "$1" /usr/bin/env -i HOME="$(home "$who")" USER="$who"
        TERM=dumb LANG=C.UTF-8 DISPLAY="${DISPLAY:-}" SPECKRIM_TEST_TIME_SCALE="$time_scale"
        PATH="$path" "${@:3}")
}
in_copy() { copy_command "$@"; "${command[@]}"; }

installed_count() { in_copy "$1" root dpkg-query -W -f '${db:Status-Abbrev}\n' | grep -c '^ii'; }

# run_command ROOT WHO: the run command on this script's display; the first
# window must open (the build comes first), then two keys end speckwipe.
run_command() {
    local root=$1 who=$2 window=""
    # Open to all, sticky, as a booted Debian makes it: X servers that an
    # ordinary user's tests start put their sockets there.
    install -d -m 1777 "$root/tmp/.X11-unix"
    mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
    copy_command "$root" "$who" bash -c "cd ~/project && $(readme_command 1)"
    start_program / "${command[@]}"
    local waited=0
    while [ -z "$window" ] && kill -0 "$program_pid" 2>/dev/null && [ $waited -lt $((1800 * time_scale)) ]; do
        sleep 1
        window=$(x_window_id "my window")
        waited=$((waited + 1))
    done
    check "$release as $who: the run command opens \"my window\"" test -n "$window"
    [ -n "$window" ] && keep_pressing x "$window" space window_open x "my window 2"
    window=$(x_window_id "my window 2")
    [ -n "$window" ] && keep_pressing x "$window" space program_ended
    wait_program_end 30
    run_status=$program_status
    check "$release as $who: the run command ends with status 0 (got $run_status)" test "$run_status" = 0
    [ "$run_status" = 0 ] || tail -n 30 "$work/out" "$work/err"
    umount "$root/tmp/.X11-unix"
}

# test_command ROOT WHO: the test command; sets $test_status.
test_command() {
    in_copy "$1" "$2" bash -c "cd ~/project && $(readme_command 2)" >"$work/test-$release-$2.log" 2>&1
    test_status=$?
    check "$release as $2: the test command ends with status 0 (got $test_status)" test "$test_status" = 0
    [ "$test_status" = 0 ] || grep -E '^FAIL|[0-9]+ passed, |\*\*\*|^	 *[0-9]+ - ' "$work/test-$release-$2.log"
}

# package_test ROOT: the package, built in the copy the Debian way and
# installed there by autopkgtest, which runs debian/tests on it.
package_test() {
    in_copy "$1" root bash -c 'cd /root/project && scripts/build-deb /root/debs &&
        apt-get install -y -q --no-install-recommends autopkgtest &&
        autopkgtest /root/debs/*.deb /root/project -- null' >"$work/package-$release.log" 2>&1
    package_status=$?
    check "$release: the package passes its autopkgtest (status $package_status)" test "$package_status" = 0
    [ "$package_status" = 0 ] || tail -n 30 "$work/package-$release.log"
}

# fresh_copy RELEASE WHO: a fresh copy of the release's minimal system, in
# $copy, with the committed tree in WHO's ~/project.
fresh_copy() {
    copy=$(mktemp -d /var/tmp/fresh-"$1".XXXXXX)
    copies="$copies $copy"
    cp -a "$(base "$1")/." "$copy/" || return 1
    cp /etc/resolv.conf "$copy/etc/resolv.conf"
    mkdir -p "$copy$(home "$2")/project"
    git -C "$project" archive HEAD | tar -x -C "$copy$(home "$2")/project"
    mount_system "$copy"
}

quick_start() {
    release=$1
    local started=$SECONDS root before after_run after_test
    fresh_copy "$release" root || { fail "$release: no minimal system"; return; }
    root=$copy
    before=$(installed_count "$root")
    run_command "$root" root
    after_run=$(installed_count "$root")
    test_command "$root" root
    after_test=$(installed_count "$root")
    package_test "$root"
    echo "fresh $release $arch: run command status $run_status, test command status $test_status," \
        "autopkgtest status $package_status, $((SECONDS - started)) s; packages installed:" \
        "run command $((after_run - before)), test command $((after_test - after_run)) more"
    unmount_all "$root"
}

# The same as an ordinary user: sudo installed and the user in its group,
# as the Debian installer leaves a desktop's first user.
quick_start_as_user() {
    release=$1
    local started=$SECONDS root
    fresh_copy "$release" "$user" || { fail "$release: no minimal system"; return; }
    root=$copy
    in_copy "$root" root bash -c "apt-get update -q && apt-get install -y -q --no-install-recommends sudo &&
        useradd --create-home --groups sudo $user && chown -R $user: /home/$user &&
        echo '$user ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/$user" >"$work/user-$release.log" 2>&1 ||
        { fail "$release: no ordinary user with sudo"; tail -n 20 "$work/user-$release.log"; return; }
    run_command "$root" "$user"
    test_command "$root" "$user"
    echo "fresh $release $arch as $user with sudo: run command status $run_status," \
        "test command status $test_status, $((SECONDS - started)) s"
    unmount_all "$root"
}

remove_copies() {
    local root
    for root in $copies; do unmount_all "$root"; rm -rf --one-file-system "$root"; done
}

copies=""
[ "$arch" = "$native" ] || enable_emulation "$arch" || exit 1
start_scratch
start_x_desktop
on_exit remove_copies
for release in "$@"; do
    quick_start "$release"
    quick_start_as_user "$release"
done
finish
