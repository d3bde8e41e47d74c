#!/usr/bin/env bash
# Builds the Debian package and checks it: lintian, the desktop entry, the AppStream
# metadata, then an install test in a fresh root of this machine's Debian release
# (tests/package/install_test.sh). On Debian 12 the package is also installed in a fresh
# Debian 13 root: the one package a user of either release can take.
set -euo pipefail
cd "$(dirname "$0")/../.."
deb=$(bash packaging/deb.sh | tail -n 1)
echo "== package $deb"
. tests/checks.sh

check "lintian --pedantic --fail-on error,warning" lintian --pedantic --fail-on error,warning "$deb"

# The installed desktop entry and metadata, as the package carries them.
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop=$contents/usr/share/applications/org.quilvane.quilvane.desktop
said=$(desktop-file-validate "$desktop" 2>&1) || true
check "desktop-file-validate prints nothing" test -z "$said"
[ -z "$said" ] || echo "$said"
check "appstreamcli validate --no-net --pedantic" \
    appstreamcli validate --no-net --pedantic "$contents/usr/share/metainfo/org.quilvane.quilvane.metainfo.xml"
for size in 16 32 48 64 128 256; do
    icon=$contents/usr/share/icons/hicolor/${size}x${size}/apps/quilvane.png
    check "icon ${size}x${size}" test "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}"
done

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
check "install test on $codename" bash tests/package/install_test.sh "$deb"
[ "$codename" = bookworm ] && check "install test on trixie" bash tests/package/install_test.sh "$deb" trixie
summary
