#!/usr/bin/env bash
# Installs the Debian 12 packages Quilvane needs, when any is missing.
#   deps.sh run    what building and running the program needs
#   deps.sh test   that, plus the test, benchmark, fuzzing and screenshot tools
set -euo pipefail
run=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-arphic-uming fonts-wqy-zenhei locales)
test=(libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev libxcb1-dev
      xvfb xauth xdotool xclip x11-utils imagemagick)
case "${1:-run}" in
    run) want=("${run[@]}") ;;
    test) want=("${run[@]}" "${test[@]}") ;;
    *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for p in "${want[@]}"; do
    dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The locales the program and its tests are checked under.
if [ "${1:-run}" = test ]; then
    for l in de_DE en_US zh_CN; do
        locale -a 2>/dev/null | grep -qix "$l.utf-\?8" && continue
        echo "Generating locale $l.UTF-8"
        $([ "$(id -u)" -eq 0 ] || echo sudo) localedef -i "$l" -f UTF-8 "$l.UTF-8"
    done
fi
