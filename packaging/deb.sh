#!/usr/bin/env bash
# Builds the Debian package from this tree with debhelper and prints the path of the .deb
# as its last line. The build itself logs to standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash packaging/deps.sh package >&2

# One package per Debian release, told apart as Debian does for a package built per
# release: 1.0.0+deb12u1 on Debian 12, 1.0.0+deb13u1 on Debian 13.
upstream=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
release=$(. /etc/os-release && echo "${VERSION_ID:-}")
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-unstable}")
version=$upstream${release:++deb${release}u1}
work=$PWD/build/deb
src=$work/quilvane-$upstream
rm -rf "$work"
mkdir -p "$src"
# The source as it stands, without build trees or version control, and debian/ in place.
tar --exclude=./build --exclude=./.git --exclude=./corpus -cf - . | tar -xf - -C "$src"
cp -r packaging/debian "$src/debian"
sed -i "1s/^quilvane ($upstream) [a-z-]*;/quilvane ($version) $codename;/" "$src/debian/changelog"
(cd "$src" && dpkg-buildpackage -b -us -uc) >&2
ls "$work"/quilvane_"$version"_*.deb
