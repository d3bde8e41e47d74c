#!/usr/bin/env bash
# Builds and runs every test: the Release build (core, window headless, end-to-end under
# Xvfb), then the clang sanitizer build (the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short libFuzzer run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh test
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi

# Every suite must be registered: a test file that goes missing fails the run instead of
# taking its tests with it.
require_suites() {
    local listed
    listed=$(ctest --preset "$1" -N)
    shift
    for suite in "$@"; do
        grep -q "Test *#[0-9]*: $suite\b" <<<"$listed" || { echo "suite $suite is not registered"; exit 1; }
    done
}

for preset in default sanitize; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    suites=(ReadNumber ClockText NowLocal ConvertTemperature Com Settings Table form1_test convert_test
            settings_test fit_test_1 fit_test_2 atspi_text end_to_end)
    [ "$preset" = sanitize ] && suites+=(fuzz_core_brief)
    require_suites "$preset" "${suites[@]}"
    ctest --preset "$preset"
done
