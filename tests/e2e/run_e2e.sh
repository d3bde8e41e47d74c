#!/usr/bin/env bash
# End-to-end test of the real program under Xvfb, driven with xdotool:
#   it starts, its window is 477 wide and centred; a second copy shows the notice and ends
#   when it is dismissed while the first keeps running; 25 typed and converted gives
#    109.7338 in the resistance box; with R0 set to 1000 through Ctrl+R it gives  1097.338;
#   F12 ends it; two copies started together leave one window. All of it while another user
#   (uid 65534, where the test may change to it) holds the name this user's copy asks first.
# The programs under test run in a private network namespace, where the names that mark a
# running copy are their own: a copy the same user already runs cannot interfere. To show
# that, a copy is started outside the namespace first and holds the real name throughout.
# Usage: run_e2e.sh PROGRAM OUTPUT_DIR   (a screenshot of the conversion goes to OUTPUT_DIR)
set -euo pipefail
program=$1
out=$2
mkdir -p "$out"

fail() { echo "FAIL: $*"; exit 1; }
# The names of the visible windows, for a failure message.
titles() {
    echo "visible windows:"
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
        echo "  $(xdotool getwindowname "$id" 2>/dev/null)"
    done
}
# Waits for a visible window whose name matches (of the given pid, if one is given).
wait_window() {
    local pidopt=()
    [ -n "${2:-}" ] && pidopt=(--all --pid "$2")
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible "${pidopt[@]}" --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    titles >&2
    return 1
}
wait_exit() {
    for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    return 1
}

if [ "${3:-}" != --inside ]; then
    for tool in Xvfb xdpyinfo xdotool xclip import xwininfo unshare; do
        command -v "$tool" >/dev/null || { echo "missing $tool (the test command installs it)"; exit 1; }
    done
    pids=()
    xvfb=""
    cleanup() {
        for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
        # Xvfb ends on TERM and removes its socket and lock; a killed one leaves them behind.
        if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
    }
    trap cleanup EXIT

    # A private X server on a free display. -noreset: by default the server resets whenever
    # its last client leaves, and a program connecting during that reset is refused.
    exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
    xvfb=$!
    read -r -t 10 display <&3 || fail "Xvfb did not start"
    export DISPLAY=:$display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb on $DISPLAY does not answer"
    export LC_ALL=zh_CN.UTF-8
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    unset QT_QPA_PLATFORM

    # The user's own running copy, outside the namespace; its window is hidden once it is up.
    # Where the user already runs one, this copy shows the notice instead and is dismissed.
    "$program" >"$out/running.log" 2>&1 & running=$!
    pids+=("$running")
    win=$(wait_window '' "$running") || { cat "$out/running.log"; fail "the running copy did not appear"; }
    if [ "$(xdotool getwindowname "$win")" = "Quilvane V1.0" ]; then
        xdotool windowunmap --sync "$win"
    else
        xdotool windowfocus --sync "$win" key Return
        wait_exit "$running" || fail "the refused outside copy did not end"
        running=""
    fi

    # The network namespace needs root, or a user namespace of one's own.
    ns=(unshare -n)
    [ "$(id -u)" -eq 0 ] || ns=(unshare -rn)
    status=0
    "${ns[@]}" bash "$0" "$program" "$out" --inside || status=$?
    [ -z "$running" ] || kill -0 "$running" || fail "the copy outside the namespace ended"
    exit "$status"
fi

# Inside the namespace, on the display set up outside.
pids=()
trap 'for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done' EXIT
geometry() { xwininfo -id "$1" | awk -v k="$2" '$0 ~ k {print $NF}'; }
count() { xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l; }

# Another local user (uid 65534) holds the name this user's copy asks for first: it must not
# keep the program from starting, nor keep a second copy from being refused.
name=quilvane-$(id -u)
if setpriv --reuid=65534 --regid=65534 --clear-groups true 2>/dev/null; then
    setpriv --reuid=65534 --regid=65534 --clear-groups /usr/bin/python3 -c '
import socket, sys, time
s = socket.socket(socket.AF_UNIX)
s.bind("\0" + sys.argv[1])
s.listen(128)
time.sleep(600)' "$name" & pids+=($!)
    for _ in $(seq 50); do grep -q "@$name\$" /proc/net/unix && break; sleep 0.1; done
    grep -q "@$name\$" /proc/net/unix || fail "the stranger did not bind @$name"
    echo "a stranger (uid 65534) holds @$name"
else
    echo "SKIP: cannot change to uid 65534 here, so no stranger holds the name"
fi

"$program" >"$out/first.log" 2>&1 & first=$!
pids+=("$first")
win=$(wait_window '^Quilvane V1.0$' "$first") || { cat "$out/first.log"; fail "the window did not appear on $DISPLAY"; }
sleep 0.5
x=$(geometry "$win" "Absolute upper-left X"); y=$(geometry "$win" "Absolute upper-left Y")
w=$(geometry "$win" "Width"); h=$(geometry "$win" "Height")
echo "window ${w}x${h}+${x}+${y}"
[ "$w" -eq 477 ] || fail "width $w, not 477"
[ $(( (1024 - w) / 2 - x )) -ge -1 ] && [ $(( (1024 - w) / 2 - x )) -le 1 ] || fail "not centred across (x=$x)"
[ $(( (768 - h) / 2 - y )) -ge -1 ] && [ $(( (768 - h) / 2 - y )) -le 1 ] || fail "not centred down (y=$y)"

# A second copy: the notice, then it ends once OK is pressed; the first runs on.
"$program" >"$out/second.log" 2>&1 & second=$!
pids+=("$second")
notice=$(wait_window '^系统提示$' "$second") || fail "the second copy showed no notice"
xdotool windowfocus --sync "$notice"
xdotool key Return
wait_exit "$second" || fail "the second copy did not end"
wait "$second" || { cat "$out/second.log"; fail "the second copy ended with an error"; }
kill -0 "$first" || fail "the first copy ended"
echo "second copy refused and ended"

# Reads the resistance box by selecting its text with the mouse (X puts the selection in
# PRIMARY), tried a few times in case the click is still being handled on a slow build.
zz_y=0
read_zz() {
    result=""
    for _ in $(seq 10); do
        xdotool mousemove $(( x + 36 + 1 )) "$zz_y" mousedown 1 mousemove $(( x + 36 + 135 )) "$zz_y" mouseup 1
        sleep 0.3
        result=$(xclip -o -selection primary 2>/dev/null || true)
        [ "$result" = "$1" ] && return 0
    done
    return 1
}

# One conversion: click into the temperature box, type 25, click the button.
menu=$(( h - 276 - 25 ))
zz_y=$(( y + menu + 128 + 40 + 16 ))
convert_x=$(( x + 192 + 48 )); row_y=$(( y + menu + 168 + 16 ))
xdotool windowfocus --sync "$win"
xdotool mousemove $(( x + 304 + 60 )) "$row_y" click 1
xdotool type --delay 50 "25"
xdotool mousemove "$convert_x" "$row_y" click 1
sleep 0.5
import -window root "$out/e2e-conversion.png"
read_zz " 109.7338" || fail "resistance box shows '$result', not ' 109.7338'"
echo "25 °C converted to '$result'"

# A Pt1000 for this session: Ctrl+R, 1000 over the selected value, Enter; then 25 again
# (reading the box gave it the focus, which emptied the temperature box).
xdotool windowfocus --sync "$win"
xdotool key ctrl+r
dialog=$(wait_window '^设置 R0$' "$first") || fail "Ctrl+R opened no dialog"
xdotool windowfocus --sync "$dialog"
sleep 0.3
import -window root "$out/e2e-settings.png"
xdotool type --delay 50 "1000"
xdotool key Return
sleep 0.3
xdotool windowfocus --sync "$win"
xdotool mousemove $(( x + 304 + 60 )) "$row_y" click 1
xdotool type --delay 50 "25"
xdotool mousemove "$convert_x" "$row_y" click 1
sleep 0.5
read_zz " 1097.338" || fail "with R0 = 1000 the resistance box shows '$result', not ' 1097.338'"
echo "R0 set to 1000: 25 °C converted to '$result'"

# F12 ends the program.
xdotool windowfocus --sync "$win"
xdotool key F12
wait_exit "$first" || fail "F12 did not end the program"
echo "F12 ended the program"

# Two copies started at the same instant: one window and one notice, then one window.
"$program" >"$out/pair-a.log" 2>&1 & a=$!
"$program" >"$out/pair-b.log" 2>&1 & b=$!
pids+=("$a" "$b")
for _ in $(seq 100); do
    [ "$(count '^Quilvane V1.0$')" -ge 1 ] && [ "$(count '^系统提示$')" -ge 1 ] && break
    sleep 0.1
done
[ "$(count '^Quilvane V1.0$')" -eq 1 ] && [ "$(count '^系统提示$')" -eq 1 ] || { titles; fail "two copies at once did not give one window and one notice"; }
notice=$(wait_window '^系统提示$') || fail "no notice"
xdotool windowfocus --sync "$notice"
xdotool key Return
for _ in $(seq 50); do kill -0 "$a" 2>/dev/null && kill -0 "$b" 2>/dev/null || break; sleep 0.1; done
running=0
for p in "$a" "$b"; do kill -0 "$p" 2>/dev/null && running=$((running + 1)); done
[ "$running" -eq 1 ] && [ "$(count '^Quilvane V1.0$')" -eq 1 ] || { titles; fail "$running copies run after the notice"; }
echo "two copies at once: one window, one notice"
echo "1 passed, 0 failed"
