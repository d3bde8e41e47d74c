#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source, once, into a cache outside
# the source tree keyed by Qt's version, the configure line and the toolchain, and prints the
# prefix as its last line. The host's Qt (the same version) serves as the host tools.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
upstream=${version%%[+-]*}
upstream=${upstream#*:}
options=(-xplatform win32-g++ -release -shared -nomake tests -nomake examples
         -no-opengl -no-dbus -no-icu -no-pkg-config -no-zstd -no-openssl -no-direct2d
         -no-feature-directwrite3 -no-feature-network -no-feature-sql -no-feature-xml
         -no-feature-concurrent -no-feature-tabletevent -no-feature-vulkan -no-feature-testlib
         -no-libjpeg -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion)
# Qt 6.4 builds its DirectWrite font engine only with directwrite3, which must be off here,
# while its Windows print engine asks for plain directwrite: the print engine follows the
# font engine.
fix_print_engine='s/QT_CONFIG(directwrite)/QT_CONFIG(directwrite3)/'
key=$( (echo "$version"; printf '%s\n' "${options[@]}" "$fix_print_engine"; cat "$here/mingw-toolchain.cmake") |
      sha256sum | cut -c1-12)
cache=${QUILVANE_CACHE:-$HOME/.cache/quilvane}
prefix=$cache/qt-$upstream-mingw64-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-build-$key
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
# The toolchain goes with the prefix: Qt's own toolchain file loads it from there later.
cp "$here/mingw-toolchain.cmake" "$prefix/mingw-toolchain.cmake"

# The source through a deb-src entry made from this machine's apt sources, removed afterwards.
srclist=/etc/apt/sources.list.d/quilvane-qt-source.sources
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
cleanup() {
    if [ -f "$srclist" ] || [ -f "${srclist%.sources}.list" ]; then
        $sudo rm -f "$srclist" "${srclist%.sources}.list"
        $sudo apt-get update -qq || true
    fi
}
trap cleanup EXIT
for f in /etc/apt/sources.list.d/*.sources; do
    if [ -f "$f" ] && [ "$f" != "$srclist" ]; then sed -e 's/^Types:.*/Types: deb-src/' "$f"; echo; fi
done | $sudo tee "$srclist" >/dev/null
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    if [ -f "$f" ]; then sed -n -e 's/^deb \(.*\)/deb-src \1/p' "$f"; fi
done | $sudo tee "${srclist%.sources}.list" >/dev/null
$sudo apt-get update -qq
(cd "$work" && apt-get source -qq "qt6-base=$version" >/dev/null)
cleanup
trap - EXIT
src=$(find "$work" -maxdepth 1 -mindepth 1 -type d -name 'qt6-base-*' | head -n 1)
sed -i -e "$fix_print_engine" "$src/src/printsupport/platform/windows/qprintengine_win.cpp"

mkdir -p "$work/build"
cd "$work/build"
"$src/configure" -prefix "$prefix" -qt-host-path /usr "${options[@]}" -- \
    -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-toolchain.cmake" \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >&2
cmake --build . --parallel "$(nproc)" >&2
cmake --install . >&2
touch "$prefix/.complete"
cd /
rm -rf "$work"
echo "$prefix"
