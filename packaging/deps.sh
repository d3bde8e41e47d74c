#!/usr/bin/env bash
# Installs the Debian packages Quilvane needs (Debian 12 and 13 alike), when any is missing.
#   deps.sh run    what building and running the program needs
#   deps.sh test   that, plus the test, benchmark, fuzzing and screenshot tools
#   deps.sh package   what building, checking and install-testing the .deb needs
#   deps.sh windows   what cross-building for Windows and testing under Wine needs
# On a system without dpkg it only lists the packages and leaves finding them to CMake.
set -euo pipefail
run=(cmake ninja-build g++ qt6-base-dev libgl-dev fonts-arphic-uming fonts-wqy-zenhei
     qt6-translations-l10n locales)
test=(libgtest-dev libbenchmark-dev clang libclang-rt-dev libxcb1-dev
      xvfb xauth xdotool xclip x11-utils imagemagick locales-all util-linux python3
      at-spi2-core python3-pyatspi dbus)
package=(build-essential debhelper dpkg-dev libgtest-dev locales-all lintian desktop-file-utils appstream debootstrap
         xvfb xdotool x11-utils imagemagick)
windows=(cmake ninja-build g++-mingw-w64-x86-64-posix dpkg-dev googletest qt6-base-dev
         qt6-translations-l10n fonts-wqy-zenhei fonts-arphic-uming nsis zip unzip wine64
         wine xvfb xauth openbox xdotool x11-utils xclip imagemagick)
case "${1:-run}" in
    run) want=("${run[@]}") ;;
    test) want=("${run[@]}" "${test[@]}") ;;
    package) want=("${run[@]}" "${package[@]}") ;;
    windows) want=("${windows[@]}") ;;
    *) echo "usage: $0 run|test|package|windows" >&2; exit 2 ;;
esac

if ! command -v dpkg-query >/dev/null; then
    echo "No dpkg here: install the equivalents of these Debian packages yourself:"
    echo "  ${want[*]}"
    exit 0
fi

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
