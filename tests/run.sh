#!/usr/bin/env bash
# Builds and runs every test: the Release build (core, window headless, end-to-end under
# Xvfb), then the clang sanitizer build (the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a short libFuzzer run).
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh test
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
for preset in default sanitize; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
