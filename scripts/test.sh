#!/usr/bin/env bash
# Installs what the build and the tests need, builds the plain configuration
# (warnings are errors) and the sanitizer one, and runs every test in both.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages "${BUILD_PACKAGES[@]}" xvfb xauth xdotool x11-utils imagemagick python3 \
    openbox weston qt6-wayland \
    desktop-file-utils appstream binutils-mingw-w64-i686 at-spi2-core python3-pyatspi dbus-daemon file \
    lintian man-db clang-format xclip git strace

echo "== Formatting (clang-format, the checked-in .clang-format)"
(cd "$ROOT" && git ls-files -co --exclude-standard -- '*.cpp' '*.h' |
    xargs clang-format --dry-run --Werror)

build "$ROOT/build" -DPALETTE_WERROR=ON
# No test runs the benchmarks, and the plain build has shown that they build.
build "$ROOT/build-sanitize" -DPALETTE_WERROR=ON -DPALETTE_SANITIZE=ON -DPALETTE_BENCHMARKS=OFF

export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
echo "== Sanitizer build (AddressSanitizer, UndefinedBehaviorSanitizer)"
ctest --test-dir "$ROOT/build-sanitize" --output-on-failure -j 2 || status=1
echo "== Plain build"
ctest --test-dir "$ROOT/build" --output-on-failure -j 2 || status=1
exit $status
