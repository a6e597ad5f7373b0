# Turns speckrim_bench's CSV (run with repetitions and aggregates) into the
# README's Markdown table: the median time of each benchmark, ours against
# OpenCV's, and the speed-up over the plain version.
BEGIN { FS = "," }
$1 ~ /_median"?$/ {
    name = $1
    gsub(/"/, "", name)
    sub(/_median$/, "", name)
    split(name, part, "/")          # kernel/implementation/picture
    time[part[1] "/" part[2] "/" part[3]] = $3
}
END {
    print "| kernel | picture | ours (ms) | OpenCV (ms) | ours / OpenCV | plain (ms) | speed-up over plain |"
    print "|---|---|---:|---:|---:|---:|---:|"
    split("median edges", kernels, " ")
    split("noise smooth", order, " ")
    for (k = 1; k <= 2; ++k) {
        for (p = 1; p <= 2; ++p) {
            ours = time[kernels[k] "/ours/" order[p]]
            cv = time[kernels[k] "/opencv/" order[p]]
            plain = time[kernels[k] "/plain/" order[p]]
            if (ours == "" || cv == "") continue
            printf "| %s | %s | %.2f | %.2f | %.2f |", kernels[k], order[p], ours, cv, ours / cv
            if (plain == "") print " — | — |"
            else printf " %.0f | %.0f× |\n", plain, plain / ours
        }
    }
    print ""
    print "Each variant this CPU runs, in ms (median of the repetitions):"
    print ""
    split("sse2 avx2", variants, " ")
    for (k = 1; k <= 2; ++k)
        for (v = 1; v <= 2; ++v)
            for (p = 1; p <= 2; ++p) {
                key = kernels[k] "/" variants[v] "/" order[p]
                if (key in time)
                    printf "- %s, %s kernel, %s: %.2f\n", kernels[k], variants[v], order[p], time[key]
            }
}
