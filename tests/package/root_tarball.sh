#!/usr/bin/env bash
# Makes a minimal Debian root of a release with debootstrap, from the mirror this machine's
# apt sources use (for that release where they name it, else for the machine's own: one
# archive serves every release), and keeps it as a tarball; nothing when the tarball exists.
# Needs root. Usage: root_tarball.sh RELEASE TARBALL
set -euo pipefail
release=$1
tarball=$2
[ -s "$tarball" ] && exit 0
here=$(cd "$(dirname "$0")" && pwd)
mirror=$(bash "$here/apt_mirror.sh" "$release" 2>/dev/null || bash "$here/apt_mirror.sh")
work=$tarball.bootstrap
echo "debootstrap --variant=minbase $release from $mirror"
rm -rf "$work"
debootstrap --variant=minbase "$release" "$work" "$mirror" >"$tarball.log" 2>&1 ||
    { tail -n 20 "$tarball.log"; exit 1; }
tar -C "$work" -cf "$tarball.part" . && mv "$tarball.part" "$tarball"
rm -rf "$work"
