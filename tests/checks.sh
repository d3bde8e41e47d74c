# Sourced by the test scripts: check WHAT COMMAND... runs the command and counts it as passed
# or failed; summary prints the plain closing line and fails when anything failed.
passes=0
fails=0
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; passes=$((passes + 1)); else echo "FAIL: $what"; fails=$((fails + 1)); fi
}
summary() {
    echo "$passes passed, $fails failed"
    [ "$fails" -eq 0 ]
}
