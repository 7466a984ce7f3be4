#!/usr/bin/env bash
# The Debian package: built with cpack, it carries the program, the desktop
# entry, the metainfo and the icons, all of which validate; unpacked, its
# program starts and ends with Esc.
set -euo pipefail
BUILD=${BUILD:?BUILD must name the build folder}
VERSION=${VERSION:?VERSION must give the project version}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >/dev/null)
deb=$(ls "$WORK"/out/*.deb)
case $(basename "$deb") in color-palette_${VERSION}_*.deb) ;; *) echo "FAIL: package named $(basename "$deb")"; exit 1 ;; esac
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "FAIL: no dependency on Qt Widgets"; exit 1; }
dpkg-deb -x "$deb" "$WORK/root"
for file in usr/bin/color-palette \
    usr/share/applications/org.tarnwick.ColorPalette.desktop \
    usr/share/metainfo/org.tarnwick.ColorPalette.metainfo.xml \
    usr/share/icons/hicolor/16x16/apps/org.tarnwick.ColorPalette.png \
    usr/share/icons/hicolor/256x256/apps/org.tarnwick.ColorPalette.png; do
    [ -e "$WORK/root/$file" ] || { echo "FAIL: the package lacks $file"; exit 1; }
done
desktop-file-validate "$WORK/root/usr/share/applications/org.tarnwick.ColorPalette.desktop"
appstreamcli validate --no-net "$WORK/root/usr/share/metainfo/org.tarnwick.ColorPalette.metainfo.xml"
grep -q "<release version=\"$VERSION\"" "$WORK/root/usr/share/metainfo/org.tarnwick.ColorPalette.metainfo.xml"
grep -q "^X-AppVersion=$VERSION\$" "$WORK/root/usr/share/applications/org.tarnwick.ColorPalette.desktop"

PROGRAM="$WORK/root/usr/bin/color-palette"
source "$(dirname "$0")/lib.sh"
trap 'rm -rf "$WORK"; cleanup' EXIT
start_x
start_app
point_at 200 120
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_package: passed"
