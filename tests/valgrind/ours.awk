# Reads memcheck logs and prints the headline of every report that is ours:
# one whose first frame outside the C and C++ runtime (and valgrind's own
# malloc and string replacements) lies in the program, or in OpenCV's core
# and imgcodecs, which it calls directly.
#
# Why not suppressions: the desktop stack (Qt, GLib, X11, fontconfig, Mesa)
# keeps caches it never frees and reads memory in ways memcheck can't
# follow, and those reports differ with every Debian release, often in code
# without symbols. Our own errors start in our code, or in the runtime
# called from it (a bad memcpy, a leaked new), wherever the rest of the
# stack goes. Run with: awk -v program=/path/to/binary -f ours.awk LOG...
BEGIN {
    runtime = "vgpreload|vg_replace|/libc\\.so|/libstdc\\+\\+\\.so|/libgcc_s\\.so|/libm\\.so|/ld-linux"
    ours = "libopencv_(core|imgcodecs)\\.so"
}
{ sub(/^==[0-9]+== ?/, "") }
/^$/ { headline = ""; next }
headline == "" { headline = $0; decided = 0; next }
!decided && /^ +(at|by) 0x/ {
    if ($0 ~ runtime) next
    decided = 1
    if (index($0, "(in " program ")") || $0 ~ ours) print headline
}
