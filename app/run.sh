#!/usr/bin/env bash
# Builds the program (installing what it needs) in its own tree, build/app, and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh run
cmake --preset app >/dev/null
cmake --build --preset app
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Built build/app/quilvane, but there is no display to show its window on."
    echo "On a desktop, run it there; on a machine without one, start a virtual display:"
    echo "  apt-get install xvfb && Xvfb :1 -screen 0 1024x768x24 & DISPLAY=:1 build/app/quilvane"
    exit 1
fi
exec build/app/quilvane
