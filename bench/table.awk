# Turns speckrim_bench's CSV (run with repetitions and aggregates) into the
# Markdown tables of docs/performance.md: the median time of each
# benchmark; ours against OpenCV's, against a memcpy of the picture (one
# pass that reads it and writes another: the machine's yardstick) and
# against the plain version; then every kernel variant this CPU runs; then rimtrace's refresh
# after a slider move for each screen's view.
BEGIN { FS = "," }
$1 ~ /_median"?$/ {
    name = $1
    gsub(/"/, "", name)
    sub(/_median$/, "", name)
    split(name, part, "/")          # kernel/implementation/picture
    time[part[1] "/" part[2] "/" part[3]] = $3
}
END {
    print "| kernel | picture | ours (ms) | OpenCV (ms) | ours / OpenCV | memcpy (ms) | ours / memcpy | plain (ms) | speed-up over plain |"
    print "|---|---|---:|---:|---:|---:|---:|---:|---:|"
    split("median edges", kernels, " ")
    split("noise smooth", order, " ")
    for (k = 1; k <= 2; ++k) {
        for (p = 1; p <= 2; ++p) {
            ours = time[kernels[k] "/ours/" order[p]]
            cv = time[kernels[k] "/opencv/" order[p]]
            copy = time["copy/memcpy/" order[p]]
            plain = time[kernels[k] "/plain/" order[p]]
            if (ours == "" || cv == "" || copy == "") continue
            printf "| %s | %s | %.2f | %.2f | %.2f | %.2f | %.1f |", kernels[k], order[p], ours, cv,
                ours / cv, copy, ours / copy
            if (plain == "") print " — | — |"
            else printf " %.0f | %.0f× |\n", plain, plain / ours
        }
    }
    print ""
    print "| kernel | variant | picture | ms | / OpenCV | / memcpy |"
    print "|---|---|---|---:|---:|---:|"
    split("portable sse2 avx2", variants, " ")
    for (k = 1; k <= 2; ++k)
        for (v = 1; v <= 3; ++v)
            for (p = 1; p <= 2; ++p) {
                key = kernels[k] "/" variants[v] "/" order[p]
                if (key in time)
                    printf "| %s | %s | %s | %.2f | %.2f | %.1f |\n", kernels[k], variants[v], order[p],
                        time[key], time[key] / time[kernels[k] "/opencv/" order[p]],
                        time[key] / time["copy/memcpy/" order[p]]
            }
    print ""
    print "| view of 4000x3000 | refresh (ms) | / memcpy | before: map, then shrunk (ms) | imshow and paint (ms) | prepared once (ms) |"
    print "|---|---:|---:|---:|---:|---:|"
    copy = time["copy/memcpy/smooth"]
    split("1257x943 1856x1392 2697x2023", views, " ")
    for (v = 1; v <= 3; ++v) {
        ours = time["refresh/ours/" views[v]]
        if (ours == "" || copy == "") continue
        shown = time["refresh/imshow/" views[v]]
        printf "| %s | %.2f | %.2f | %.1f | %s | %.1f |\n", views[v], ours, ours / copy,
            time["refresh/before/" views[v]], shown == "" ? "— (no display)" : sprintf("%.1f", shown),
            time["refresh/prepare/" views[v]]
    }
}
