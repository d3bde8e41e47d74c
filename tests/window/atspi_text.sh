#!/usr/bin/env bash
# Runs atspi_text.py against the real program: an X server, a D-Bus session with the AT-SPI
# bus, the program with its accessibility on, all in a private network namespace so that
# nothing of the desktop it runs on takes part. Skipped (exit 77) where AT-SPI cannot start.
# Usage: atspi_text.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "skipped: $*"; exit 77; }

if [ "${2:-}" != --inside ]; then
    for tool in Xvfb dbus-run-session unshare; do command -v "$tool" >/dev/null || skip "no $tool"; done
    [ -x /usr/libexec/at-spi-bus-launcher ] || skip "no at-spi-bus-launcher (at-spi2-core)"
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "no pyatspi for /usr/bin/python3 (python3-pyatspi)"
    if [ "$(id -u)" -eq 0 ]; then exec unshare -n bash "$0" "$program" --inside; fi
    exec unshare -rn bash "$0" "$program" --inside
fi

exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
read -r -t 10 display <&3 || skip "Xvfb did not start"
export DISPLAY=:$display LC_ALL=zh_CN.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
unset QT_QPA_PLATFORM
dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    for _ in $(seq 50); do
        dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
        sleep 0.1
    done
    "$1" >/dev/null 2>&1 & program=$!
    status=0
    timeout 300 /usr/bin/python3 "$2/atspi_text.py" || status=$?
    kill -9 "$program" 2>/dev/null
    exit $status' bash "$program" "$here"
