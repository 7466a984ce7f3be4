#!/usr/bin/env bash
# A screen reader's view: with the AT-SPI bus running, the status line's text
# after a real hover, and after a pick from the keyboard, is read, and its
# change announced, over the bus.
if [ -z "${IN_TEST_SESSION:-}" ]; then
    exec env IN_TEST_SESSION=1 dbus-run-session --config-file="$(dirname "$0")/../session-bus.conf" -- bash "$0" 2> >(grep -v -e 'fd limit' -e 'unknown child' >&2)
fi
source "$(dirname "$0")/lib.sh"
start_x
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
HELPER_PIDS+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
# Debian's own Python, which carries the AT-SPI bindings.
/usr/bin/python3 "$(dirname "$0")/screenreader.py" $((WX + 57)) $((WY + 126)) "$WINDOW"
point_at 200 120
xdotool key --clearmodifiers Escape
expect_exit 0
