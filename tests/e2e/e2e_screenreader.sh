#!/usr/bin/env bash
# A screen reader's view: with the test's own AT-SPI bus running, the status
# line's text after a real hover, and after a pick from the keyboard, is read,
# and its change announced, over the bus.
source "$(dirname "$0")/a11ybus.sh"
in_private_session "$0"
source "$(dirname "$0")/lib.sh"
start_x
start_a11y_bus
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
# Debian's own Python, which carries the AT-SPI bindings.
/usr/bin/python3 "$(dirname "$0")/screenreader.py" $((WX + 57)) $((WY + 126)) "$WINDOW"
point_at 200 120
xdotool key --clearmodifiers Escape
expect_exit 0
