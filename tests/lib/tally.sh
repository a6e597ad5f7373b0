# A pass/fail tally for the test scripts: each check prints "ok: WHAT" or
# "FAIL: WHAT", and finish prints "N passed, M failed" and fails on any
# failure. The counts are this file's own (tally_passes, tally_failures).

tally_passes=0
tally_failures=0

pass() { echo "ok: $1"; tally_passes=$((tally_passes + 1)); }
fail() { echo "FAIL: $1"; tally_failures=$((tally_failures + 1)); }

# check WHAT COMMAND...: records whether the command succeeds, and returns
# as it did.
check() {
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; return 1; fi
}

# Prints the tally in the plain form and exits non-zero on any failure.
finish() {
    echo "$tally_passes passed, $tally_failures failed"
    [ "$tally_failures" -eq 0 ]
}
