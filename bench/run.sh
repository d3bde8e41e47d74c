#!/usr/bin/env bash
# Builds the Release tree and runs both benchmarks: the core's speed against to_chars, and
# the program's start-up against a bare Qt window under a private Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh test
cmake --preset default >/dev/null
cmake --build --preset default --target core_bench startup_bench bare_window quilvane
build/default/bench/core_bench --benchmark_min_time=0.5
export LC_ALL=${LC_ALL:-zh_CN.UTF-8} XDG_RUNTIME_DIR=$(mktemp -d)
xvfb-run -a -s "-screen 0 1024x768x24 -noreset" build/default/bench/startup_bench \
    build/default/bench/bare_window build/default/quilvane "${ROUNDS:-21}"
