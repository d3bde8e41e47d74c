#!/usr/bin/env bash
# Builds the program (installing what it needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh run
cmake --preset default -DQUILVANE_TESTS=OFF -DQUILVANE_BENCH=OFF >/dev/null
cmake --build --preset default --target quilvane
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build/default/quilvane, but there is no display to show its window on."
    echo "On a desktop, run it there; on a machine without one, start a virtual display:"
    echo "  apt-get install xvfb && Xvfb :1 -screen 0 1024x768x24 & DISPLAY=:1 build/default/quilvane"
    exit 1
fi
exec build/default/quilvane
