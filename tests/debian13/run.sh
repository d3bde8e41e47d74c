#!/usr/bin/env bash
# Proves Debian 13 ("trixie") from this machine: in a fresh trixie root made by debootstrap,
# runs the README's test command (tests/run.sh), then the package's (tests/package/run.sh:
# the package build, its checks and the install test in a trixie root of its own). The
# minimal root is kept as a tarball in build/debian13; each run unpacks a fresh copy.
# Needs root (debootstrap, chroot, mounts).
set -euo pipefail
cd "$(dirname "$0")/../.."
[ "$(id -u)" -eq 0 ] || { echo "the Debian 13 run needs root (debootstrap and chroot)"; exit 1; }
release=trixie
cache=$PWD/build/debian13
mkdir -p "$cache/archives/partial"
for tool in debootstrap; do
    command -v "$tool" >/dev/null || bash packaging/deps.sh package
done

bash tests/package/root_tarball.sh "$release" "$cache/root.tar"

root=$cache/root
mounted=()
cleanup() {
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    true
}
trap cleanup EXIT
# A root left by an earlier run may still hold mounts: let them go before removing it.
{ grep -o " $root/[^ ]*" /proc/mounts || true; } | sort -r | while read -r m; do umount -l "$m" 2>/dev/null || true; done
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$cache/root.tar"

bind() {
    mkdir -p "$root$2"
    mount --bind "$1" "$root$2"
    mounted+=("$root$2")
}
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount -t sysfs sys "$root/sys" && mounted+=("$root/sys")
bind /dev /dev
bind /dev/pts /dev/pts
bind "$cache/archives" /var/cache/apt/archives  # downloads kept between runs
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

# The source as it stands, without build trees or version control.
mkdir -p "$root/src"
tar --exclude=./build --exclude=./.git --exclude=./corpus -cf - . | tar -xf - -C "$root/src"

start=$(date +%s)
chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    LANG=C.UTF-8 CI="${CI:-}" DEBIAN_FRONTEND=noninteractive \
    bash -c 'cd /src && apt-get update -qq && bash tests/run.sh && bash tests/package/run.sh'
echo "Debian 13: tests and package passed in $(( $(date +%s) - start )) s"
