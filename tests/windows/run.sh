#!/usr/bin/env bash
# Tests the Windows build under Wine (wine64, in a fresh prefix) on a virtual X display with a
# window manager: the core's GoogleTest suite cross-built; the zip's program (its window and
# client area, 25 converted to  109.7338 and read back from the box, a second copy refused
# with its notice, F12); the installer in silent mode, the installed program, and the
# uninstaller removing all it put there. Builds both files first (packaging/windows.sh).
# Leaves a screenshot of the Windows window in build/windows/windows-screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
mapfile -t built < <(bash packaging/windows.sh | tail -n 2)
zip=${built[0]}
setup=${built[1]}
out=$root/build/windows
tests=$out/tests/tests

. tests/checks.sh

export WINEPREFIX=$out/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
rm -rf "$WINEPREFIX"
pids=()
xvfb=""
cleanup() {
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
    wineserver -k 2>/dev/null || true
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; fi
    true
}
trap cleanup EXIT
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb=$!
read -r -t 10 display <&3 || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$display
openbox >/dev/null 2>&1 & pids+=($!)
wineboot -i >/dev/null 2>&1
wineserver -w

# The core's tests, as built for Windows.
core_tests() {
    (cd "$tests" && wine core_tests.exe) >"$out/core_tests.log" 2>&1 && grep -q "^\[  PASSED  \]" "$out/core_tests.log"
}
check "core tests under Wine" core_tests
grep -E "^\[  (PASSED|FAILED) |^user formats" "$out/core_tests.log" || true

# Waits for a visible window whose name matches; prints its id.
wait_window() {
    for _ in $(seq 150); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    return 1
}
wait_exit() {
    for _ in $(seq 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}
# The X clipboard's text, once Wine has put something new there.
clipboard() { xclip -o -selection clipboard 2>/dev/null || true; }

portable=$out/portable
rm -rf "$portable"
mkdir -p "$portable"
unzip -q "$zip" -d "$portable"
program=$(find "$portable" -name quilvane.exe | head -n 1)
(cd "$(dirname "$program")" && exec wine quilvane.exe) >"$out/program.log" 2>&1 & first=$!
pids+=("$first")
win=$(wait_window '^Quilvane V1.0$') || { echo "FAIL: the window did not appear"; exit 1; }
sleep 1
# Where the window's own X window lies on the screen, inside the window manager's frame.
geometry=$(xwininfo -id "$win")
X=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$geometry")
Y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$geometry")
WIDTH=$(awk '/Width:/ { print $2 }' <<<"$geometry")
HEIGHT=$(awk '/Height:/ { print $2 }' <<<"$geometry")
# The X window holds the menu bar too: the client area is what lies below it.
menu=$((HEIGHT - 301))
check "window 477 wide with a 301-high client area below its menu bar (${WIDTH}x${HEIGHT})" \
    test "$WIDTH" -eq 477 -a "$menu" -ge 15 -a "$menu" -le 30
# Clicks at a point of the client area; Wine takes the pointer's move before the click.
click() {
    xdotool mousemove $((X + $1)) $((Y + menu + $2))
    sleep 0.2
    xdotool click "$3"
}

# 25 in the temperature box, converted, read back from the resistance box: selected with
# Home and Shift+End and copied with Ctrl+Insert (Ctrl+C belongs to the menu).
click 372 184 1; sleep 0.3
xdotool type --delay 50 25; sleep 0.3
click 240 184 1; sleep 1
import -window root -crop "$((WIDTH + 8))x$((HEIGHT + 30))+$((X - 4))+$((Y - 26))" "$out/windows-screenshot.png" 2>/dev/null || true
printf 'nothing' | xclip -selection clipboard
click 104 184 1; sleep 0.3
xdotool key Home shift+End ctrl+Insert; sleep 0.5
result=$(clipboard)
check "25 converts to ' 109.7338' (read '$result')" test "$result" = " 109.7338"

# A second copy shows the notice and ends when it is dismissed; the first keeps running.
(cd "$(dirname "$program")" && exec wine quilvane.exe) >"$out/second.log" 2>&1 & second=$!
pids+=("$second")
notice=$(wait_window '^系统提示$') || notice=""
said=""
if [ -n "$notice" ]; then
    xdotool windowactivate --sync "$notice" 2>/dev/null || true
    sleep 0.5
    xdotool key ctrl+c; sleep 0.5
    said=$(clipboard)
    xdotool key Return
fi
check "a second copy says '该程序已经处于运行状态！' (said '$said')" test "$said" = "该程序已经处于运行状态！"
check "the second copy ends" wait_exit "$second"
check "the first copy still runs" kill -0 "$first"

xdotool windowactivate --sync "$win" 2>/dev/null || true
sleep 0.3
xdotool key F12
check "F12 ends the program" wait_exit "$first"

# The installer, silent: the installed program starts, and the uninstaller removes every
# file, the Start-menu entry and the registration.
user=$(id -un)
local_dir=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Quilvane
start_menu=$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
wine "$setup" /S >"$out/setup.log" 2>&1 || true
wineserver -w
check "the installer puts quilvane.exe in the user's programs" test -f "$local_dir/quilvane.exe"
check "with a Start-menu entry" test -f "$start_menu/Quilvane 铂电阻换算.lnk"
installed=$(cd "$local_dir" && find . -type f | wc -l)
(cd "$local_dir" && exec wine quilvane.exe) >"$out/installed.log" 2>&1 & copy=$!
pids+=("$copy")
win=$(wait_window '^Quilvane V1.0$') || win=""
check "the installed program shows its window" test -n "$win"
[ -n "$win" ] && { xdotool windowactivate --sync "$win" 2>/dev/null || true; sleep 0.3; xdotool key F12; }
wait_exit "$copy" || kill -9 "$copy" 2>/dev/null || true
wine "$local_dir/uninstall.exe" /S >"$out/uninstall.log" 2>&1 || true
for _ in $(seq 100); do [ -e "$local_dir" ] || break; sleep 0.2; done
wineserver -w
left=$( (find "$local_dir" -type f 2>/dev/null || true) | wc -l)
check "the uninstaller removes all $installed files and the folder ($left left)" test ! -e "$local_dir"
check "and the Start-menu entry" test ! -e "$start_menu/Quilvane 铂电阻换算.lnk"
unregistered() { ! wine reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quilvane' >/dev/null 2>&1; }
check "and its registration" unregistered

summary
