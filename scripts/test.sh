#!/usr/bin/env bash
# Installs what the build and the tests need, builds the plain configuration
# (warnings are errors) and the sanitizer one, and runs every test in both.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool x11-utils imagemagick python3 \
    openbox qt6-wayland sway grim wl-clipboard xwayland xserver-xorg-core \
    xserver-xorg-video-dummy x11-xserver-utils procps xdg-desktop-portal xdg-desktop-portal-wlr \
    xdg-desktop-portal-gtk pipewire slurp dbus-bin \
    desktop-file-utils appstream binutils-mingw-w64-i686 at-spi2-core python3-pyatspi dbus-daemon file \
    lintian man-db clang-format xclip git python3-dbus python3-gi libxfixes3 strace \
    orca speech-dispatcher speech-dispatcher-espeak-ng pulseaudio pulseaudio-utils

echo "== Formatting (clang-format, the checked-in .clang-format)"
(cd "$ROOT" && git ls-files -co --exclude-standard -- '*.cpp' '*.h' |
    xargs clang-format --dry-run --Werror)

build "$ROOT/build" -DPALETTE_WERROR=ON

# The plain build's tests run while the sanitizer build compiles: they wait
# for states, never for times, so a busy machine only makes them slower.
plain_log=$(mktemp)
ctest --test-dir "$ROOT/build" --output-on-failure -j 2 >"$plain_log" 2>&1 &
plain_tests=$!
trap 'kill $plain_tests 2>/dev/null || true; rm -f "$plain_log"' EXIT

# No test runs the benchmarks, and the plain build has shown that they build.
build "$ROOT/build-sanitize" -DPALETTE_WERROR=ON -DPALETTE_SANITIZE=ON -DPALETTE_BENCHMARKS=OFF

status=0
echo "== Plain build"
wait $plain_tests || status=1
cat "$plain_log"

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

echo "== Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
# Alone on the machine now, and most of the tests' time is spent waiting for
# a display server: three at a time keep the two cores busy.
ctest --test-dir "$ROOT/build-sanitize" --output-on-failure -j 3 || status=1
exit $status
