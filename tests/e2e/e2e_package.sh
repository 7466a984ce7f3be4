#!/usr/bin/env bash
# The Debian package: built with cpack, Debian's package checker has nothing
# to say about it; it carries the program, its manual page, copyright file and
# changelog, the desktop entry, the metainfo and the icons, all of which
# validate. Unpacked, its program answers --help and --version without a
# display, refuses what it does not take, says in one line when no display
# can be opened, and otherwise starts, with Qt's options, and ends with Esc.
set -euo pipefail
shopt -s extglob
BUILD=${BUILD:?BUILD must name the build folder}
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d)
PROGRAM="$WORK/root/usr/bin/color-palette"
source "$(dirname "$0")/lib.sh"
trap 'cleanup; rm -rf "$WORK"' EXIT

VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
[ -n "$VERSION" ] || fail "no project version in $BUILD/CMakeCache.txt"

(cd "$BUILD" && cpack -G DEB -B "$WORK/out" >/dev/null)
deb=$(ls "$WORK"/out/*.deb)
case $(basename "$deb") in "color-palette_${VERSION}_"*.deb) ;; *) fail "package named $(basename "$deb")" ;; esac

# Informational tags fail it too, each of them so far having had a small fix;
# not so in the sanitizer build, which is no release and leaves the fortified
# functions out.
fail_on=error,warning,info
if grep -q '^PALETTE_SANITIZE:BOOL=ON$' "$BUILD/CMakeCache.txt"; then
    fail_on=error,warning
fi
if ! lintian --info --display-info --fail-on "$fail_on" "$deb" >"$WORK/lintian.txt" 2>/dev/null; then
    cat "$WORK/lintian.txt" >&2
    fail "lintian finds fault with the package"
fi

dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no dependency on Qt Widgets"
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] ||
    fail "the package does not recommend Qt's Wayland platform: Recommends '$(dpkg-deb -f "$deb" Recommends)'"
dpkg-deb -x "$deb" "$WORK/root"
ROOT="$WORK/root"
MANUAL="$ROOT/usr/share/man/man1/color-palette.1.gz"
DOCS="$ROOT/usr/share/doc/color-palette"
METAINFO="$ROOT/usr/share/metainfo/org.tarnwick.ColorPalette.metainfo.xml"
for file in usr/bin/color-palette \
    usr/share/man/man1/color-palette.1.gz \
    usr/share/doc/color-palette/copyright \
    usr/share/doc/color-palette/changelog.gz \
    usr/share/applications/org.tarnwick.ColorPalette.desktop \
    usr/share/metainfo/org.tarnwick.ColorPalette.metainfo.xml \
    usr/share/icons/hicolor/16x16/apps/org.tarnwick.ColorPalette.png \
    usr/share/icons/hicolor/256x256/apps/org.tarnwick.ColorPalette.png; do
    [ -e "$ROOT/$file" ] || fail "the package lacks $file"
done

desktop-file-validate "$ROOT/usr/share/applications/org.tarnwick.ColorPalette.desktop"
grep -q "^X-AppVersion=$VERSION\$" "$ROOT/usr/share/applications/org.tarnwick.ColorPalette.desktop" ||
    fail "the desktop entry names another version"
appstreamcli validate --pedantic --no-net "$METAINFO" >"$WORK/appstream.txt" ||
    { cat "$WORK/appstream.txt" >&2; fail "the metainfo does not validate"; }
! grep -E '^[EWI]:' "$WORK/appstream.txt" || fail "the metainfo draws remarks from appstreamcli"
[ "$(grep -c '<screenshot[ >]' "$METAINFO")" -eq 4 ] || fail "the metainfo lacks the README's four screenshots"
[ "$(grep -c '<caption>' "$METAINFO")" -eq 4 ] || fail "a screenshot lacks its caption"

# The changelog and the metainfo date the same release, and the changelog's
# weekday is the date's.
release_date=$(sed -n "s/.*<release version=\"$VERSION\" date=\"\([0-9-]*\)\".*/\1/p" "$METAINFO")
[ -n "$release_date" ] || fail "the metainfo has no dated release $VERSION"
zcat "$DOCS/changelog.gz" >"$WORK/changelog"
[ "$(dpkg-parsechangelog -l "$WORK/changelog" -S Version)" = "$VERSION" ] || fail "changelog version"
[ "$(dpkg-parsechangelog -l "$WORK/changelog" -S Date)" = "$(date -u -R -d "$release_date")" ] ||
    fail "the changelog is not dated $release_date"

# The copyright file carries LICENSE's own text.
sed -n '/^License: Expat$/,$p' "$DOCS/copyright" | tail -n +2 | sed 's/^ //; s/^\.$//' >"$WORK/licence"
sed '1,/^Copyright/d' "$SOURCE/LICENSE" | sed '1{/^$/d}' | diff - "$WORK/licence" ||
    fail "the copyright file's licence differs from LICENSE"

# The manual page renders without a warning and has its sections.
MANWIDTH=80 man --warnings -l "$MANUAL" 2>"$WORK/man-warnings" >"$WORK/manual"
[ ! -s "$WORK/man-warnings" ] || { cat "$WORK/man-warnings" >&2; fail "man warns"; }
for text in "color-palette - pick a colour" SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" FILES \
    "SEE ALSO" "--help" "--version" "Shift+F1" "color-palette $VERSION"; do
    grep -q -e "$text" "$WORK/manual" || fail "the manual page lacks '$text'"
done

# run STATUS STDOUT STDERR [VAR=VALUE...] -- ARGUMENTS...: runs the program
# without any display and compares its exit status and both outputs; a
# pattern with * matches by glob.
run() {
    local want_status=$1 want_out=$2 want_err=$3 status=0
    shift 3
    local environment=()
    while [ "$1" != -- ]; do
        environment+=("$1")
        shift
    done
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${environment[@]}" \
        timeout 20 "$PROGRAM" "$@" >"$WORK/stdout" 2>"$WORK/stderr" || status=$?
    local out err
    out=$(cat "$WORK/stdout")
    err=$(cat "$WORK/stderr")
    [ "$status" -eq "$want_status" ] || fail "'$*' (${environment[*]}): exit status $status, expected $want_status"
    # shellcheck disable=SC2053
    [[ "$out" == $want_out ]] || fail "'$*': standard output was: $out"
    # shellcheck disable=SC2053
    [[ "$err" == $want_err ]] || fail "'$*': standard error was: $err"
}

# A display number nobody uses: no socket and no lock file.
missing=7100
while [ -e "/tmp/.X11-unix/X$missing" ] || [ -e "/tmp/.X$missing-lock" ]; do
    missing=$((missing + 1))
done
usage_hint="Try 'color-palette --help' for more information."
one_line="color-palette: cannot open the display: +([!"$'\n'"])"
copyright=$(grep -m 1 '^Copyright ' "$SOURCE/LICENSE")

run 0 "Usage: color-palette [[]QT-OPTION[]]...*--help*--version*" "" -- --help
run 0 "color-palette $VERSION"$'\n'"$copyright"$'\n'"*" "" -- --version
run 0 "Usage: color-palette*" "" -- -style Fusion --help
run 2 "" "color-palette: unknown option '--foo'"$'\n'"$usage_hint" -- --foo
run 2 "" "color-palette: unknown option '--foo'"$'\n'"$usage_hint" -- --foo --help
run 1 "" "$one_line" DISPLAY=":$missing" --
run 1 "" "$one_line" QT_QPA_PLATFORM=xcb DISPLAY=":$missing" --
run 1 "" "$one_line" --
status=0
"$PROGRAM" --version >/dev/full 2>"$WORK/stderr" || status=$?
if [ "$status" -ne 1 ] || ! grep -q '^color-palette: write error: ' "$WORK/stderr"; then
    fail "--version into a full disk: exit status $status, $(cat "$WORK/stderr")"
fi

# With a display: what Qt does not take is refused before any window opens,
# and Qt's own options start the program as usual.
start_x
run 2 "" "color-palette: unknown option '-foo'"$'\n'"$usage_hint" DISPLAY="$DISPLAY" -- -foo
run 2 "" "color-palette: unexpected argument 'picture.png'"$'\n'"$usage_hint" \
    DISPLAY="$DISPLAY" -- -style Fusion picture.png
start_app -platform xcb -style Fusion -display "$DISPLAY"
point_at 200 120
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_package: passed"
