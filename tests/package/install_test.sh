#!/usr/bin/env bash
# Installs the package into a fresh Debian root made by debootstrap, of this machine's own
# release unless another is named, shows the installed program's window under Xvfb, then
# purges the package and checks that none of its files remain. Needs root (debootstrap,
# chroot, mounts).
# Usage: install_test.sh PATH/TO/quilvane_VERSION_ARCH.deb [RELEASE]
set -euo pipefail
deb=$(realpath "$1")
cd "$(dirname "$0")/../.."
[ "$(id -u)" -eq 0 ] || { echo "the install test needs root (debootstrap and chroot)"; exit 1; }
release=${2:-$(. /etc/os-release && echo "$VERSION_CODENAME")}
cache=$PWD/build/install-test
mkdir -p "$cache/archives-$release/partial"

# The minimal root is made once per release and kept as a tarball in the build tree; each
# run unpacks a fresh copy, so the package always meets a root without its dependencies.
tarball=$cache/root-$release.tar
bash tests/package/root_tarball.sh "$release" "$tarball"
root=$cache/root
rm -rf "$root"
mkdir -p "$root"
tar -C "$root" -xf "$tarball"

mounted=()
xvfb=""
program=""
cleanup() {
    [ -n "$program" ] && kill -9 "$program" 2>/dev/null
    [ -n "$xvfb" ] && { kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; }
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
    true
}
trap cleanup EXIT
bind() {
    mkdir -p "$root$2"
    mount --bind "$1" "$root$2"
    mounted+=("$root$2")
}
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
bind /dev /dev
bind "$cache/archives-$release" /var/cache/apt/archives  # downloads kept between runs
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@"; }

start=$(date +%s)
in_root apt-get update -qq
in_root apt-get install -y -qq "/tmp/$(basename "$deb")" >"$cache/install.log" 2>&1 ||
    { tail -n 30 "$cache/install.log"; echo "FAIL: apt-get install"; exit 1; }
in_root dpkg-query -W -f='${Status}\n' quilvane | grep -q "install ok installed" || { echo "FAIL: not installed"; exit 1; }
mapfile -t files < <(in_root dpkg -L quilvane)
echo "installed with its dependencies in $(( $(date +%s) - start )) s"

# The installed program shows its window on an X server outside the root, whose socket is
# bound into it.
exec 3< <(exec Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp -noreset 2>/dev/null)
xvfb=$!
read -r -t 10 display <&3 || { echo "FAIL: Xvfb did not start"; exit 1; }
bind /tmp/.X11-unix /tmp/.X11-unix
mkdir -p "$root/tmp/runtime" && chmod 700 "$root/tmp/runtime"
chroot "$root" env -i PATH=/usr/bin:/bin DISPLAY=":$display" XDG_RUNTIME_DIR=/tmp/runtime \
    LANG=C.UTF-8 /usr/bin/quilvane >"$cache/program.log" 2>&1 &
program=$!
shown=""
for _ in $(seq 100); do
    shown=$(DISPLAY=":$display" xdotool search --onlyvisible --name '^Quilvane V1.0$' 2>/dev/null | head -n 1) || true
    [ -n "$shown" ] && break
    sleep 0.1
done
[ -n "$shown" ] || { cat "$cache/program.log"; echo "FAIL: the installed program showed no window"; exit 1; }
sleep 0.5
DISPLAY=":$display" import -window root "$cache/installed.png"
echo "the installed /usr/bin/quilvane showed its window on $release"
kill "$program"
wait "$program" 2>/dev/null || true
program=""

in_root apt-get purge -y -qq quilvane >>"$cache/install.log" 2>&1 || { echo "FAIL: apt-get purge"; exit 1; }
left=()
for f in "${files[@]}"; do
    # Directories shared with other packages (/usr/bin, /usr/share/icons/...) stay.
    [ -e "$root$f" ] && [ ! -d "$root$f" ] && left+=("$f")
done
in_root dpkg-query -W -f='${Status}\n' quilvane 2>/dev/null | grep -q "installed" && left+=("(package still known to dpkg)")
[ ${#left[@]} -eq 0 ] || { printf 'left after purge: %s\n' "${left[@]}"; echo "FAIL: purge"; exit 1; }
[ -d "$root/usr/share/doc/quilvane" ] && { echo "FAIL: /usr/share/doc/quilvane left"; exit 1; }
echo "purged: no file of the package left ($(( $(date +%s) - start )) s in all)"
