#!/usr/bin/env bash
# Cross-builds Quilvane for 64-bit Windows on this Debian machine and prints the paths of the
# two files it makes as its last two lines:
#   build/windows/quilvane-VERSION-win64.zip        portable: unpack and run quilvane.exe
#   build/windows/quilvane-VERSION-win64-setup.exe  installer (NSIS), per user, in Chinese
# It installs what it needs, builds Qt for Windows once from Debian's qt6-base source into
# ~/.cache/quilvane (packaging/windows/qt.sh), and builds the core's tests for Wine too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
bash packaging/deps.sh windows >&2
qt=$(bash packaging/windows/qt.sh | tail -n 1)

version=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
out=$root/build/windows
name=quilvane-$version-win64
mingw=x86_64-w64-mingw32
toolchain=$qt/lib/cmake/Qt6/qt.toolchain.cmake

# The program, and the core's tests (run under Wine by tests/windows/run.sh).
cmake -S . -B "$out/program" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DQUILVANE_TESTS=OFF -DQUILVANE_BENCH=OFF >&2
cmake --build "$out/program" --target quilvane >&2
cmake -S . -B "$out/tests" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/mingw-toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DQUILVANE_WINDOW=OFF -DQUILVANE_TESTS=ON -DQUILVANE_BENCH=OFF >&2
cmake --build "$out/tests" --target core_tests >&2
cp /usr/lib/gcc/$mingw/*-posix/libgcc_s_seh-1.dll /usr/lib/gcc/$mingw/*-posix/libstdc++-6.dll \
    /usr/$mingw/lib/libwinpthread-1.dll "$out/tests/tests/"

# The folder as it ships: the program, the Qt libraries and plugins it uses, the MinGW
# runtime, Qt's Chinese texts, the fonts the window is measured with, and the licences.
stage=$out/$name
rm -rf "$stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/imageformats" "$stage/translations" "$stage/fonts" \
    "$stage/licenses"
cp "$out/program/quilvane.exe" "$stage/"
cp "$qt"/bin/Qt6{Core,Gui,Widgets,PrintSupport}.dll "$stage/"
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$qt/plugins/imageformats/qgif.dll" "$qt/plugins/imageformats/qico.dll" "$stage/imageformats/"  # picture, icon
cp /usr/lib/gcc/$mingw/*-posix/libgcc_s_seh-1.dll /usr/lib/gcc/$mingw/*-posix/libstdc++-6.dll \
    /usr/$mingw/lib/libwinpthread-1.dll "$stage/"
cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$stage/translations/"
cp /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc /usr/share/fonts/truetype/arphic/uming.ttc "$stage/fonts/"
# Qt looks for its plugins and texts beside the program, not where it was built.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$stage/qt.conf"
for pkg in libqt6core6 mingw-w64-common gcc-mingw-w64-base fonts-wqy-zenhei fonts-arphic-uming; do
    [ -f "/usr/share/doc/$pkg/copyright" ] && cp "/usr/share/doc/$pkg/copyright" "$stage/licenses/$pkg.txt"
done
[ -d /usr/share/common-licenses ] && cp /usr/share/common-licenses/{LGPL-3,GPL-3,GPL-2} "$stage/licenses/"
$mingw-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll

rm -f "$out/$name.zip"
(cd "$out" && zip -qr9 "$name.zip" "$name")

# The installer removes exactly what it put there.
uninstall=$out/uninstall-files.nsh
(cd "$stage" && find . -type f | sed 's#^\./##; s#/#\\#g; s#.*#  Delete "$INSTDIR\\&"#' &&
    find . -mindepth 1 -type d | sort -r | sed 's#^\./##; s#/#\\#g; s#.*#  RMDir "$INSTDIR\\&"#') >"$uninstall"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DUNINSTALL_FILES="$uninstall" \
    -DICON="$root/assets/quilvane.ico" -DOUTFILE="$out/$name-setup.exe" packaging/windows/installer.nsi >&2
echo "$out/$name.zip"
echo "$out/$name-setup.exe"
