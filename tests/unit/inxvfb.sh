#!/usr/bin/env bash
# inxvfb.sh DEPTH COMMAND...: runs COMMAND on the xcb platform in a private
# Xvfb of 640 x 480 at DEPTH bits, on a display number the server chooses.
set -euo pipefail
depth=$1
shift
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 640x480x"$depth" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 10 display <"$fifo"
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
