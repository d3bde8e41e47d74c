#!/usr/bin/env bash
# Builds the Debian package from this tree with debhelper and prints the path of the .deb
# as its last line. The build itself logs to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh package >&2

version=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
work=$PWD/build/deb
src=$work/quilvane-$version
rm -rf "$work"
mkdir -p "$src"
# The source as it stands, without build trees or version control, and debian/ in place.
tar --exclude=./build --exclude=./.git --exclude=./corpus -cf - . | tar -xf - -C "$src"
cp -r packaging/debian "$src/debian"
(cd "$src" && dpkg-buildpackage -b -us -uc) >&2
ls "$work"/quilvane_"$version"_*.deb
