#!/usr/bin/env bash
# Builds the release configuration and runs the benchmarks: GetColor, the
# whole PaintBars, one pick and a soak, on the offscreen platform and in Xvfb;
# launch to " Paint operation complete." with peak memory in Xvfb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages "${BUILD_PACKAGES[@]}" xvfb x11-utils
build "$ROOT/build-release" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
BENCH=$ROOT/build-release/bench

XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
fifo=$(mktemp -u)
mkfifo "$fifo"
# -noreset: a bare Xvfb resets when its last client leaves, which would add
# its start-up cost to every launch measured.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$XDG_RUNTIME_DIR" "$fifo"' EXIT
read -r display <"$fifo"
XVFB_DISPLAY=":$display"

echo "== offscreen"
for which in getcolor paint pick soak; do
    QT_QPA_PLATFORM=offscreen "$BENCH/palettebench" "$which"
done
echo "== Xvfb"
for which in paint pick soak; do
    DISPLAY=$XVFB_DISPLAY QT_QPA_PLATFORM=xcb "$BENCH/palettebench" "$which"
done

echo "== launch to ' Paint operation complete.' in Xvfb, 11 runs"
times=()
memory=""
for _ in $(seq 11); do
    start=$(date +%s%N)
    memory=$(DISPLAY=$XVFB_DISPLAY QT_QPA_PLATFORM=xcb "$BENCH/launchbench")
    end=$(date +%s%N)
    times+=($(((end - start) / 1000)))
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 6p)
printf 'launch: median %d.%03d ms (%s)\n' $((median / 1000)) $((median % 1000)) "$memory"
