#!/usr/bin/env bash
# Installs what the build needs, builds Color palette and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages "${BUILD_PACKAGES[@]}"
# Only the program: the test suites and benchmarks are the test command's.
configure "$ROOT/build"
cmake --build "$ROOT/build" -j "$(nproc)" --target colorpalette

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat >&2 <<'MSG'
Color palette is a desktop program and needs a display, but neither DISPLAY nor
WAYLAND_DISPLAY is set. Run it from a desktop session, or give it a virtual one:
    apt-get install -y xvfb && xvfb-run -a scripts/run.sh
MSG
    exit 2
fi
exec "$ROOT/build/src/app/color-palette"
