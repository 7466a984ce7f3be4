#!/usr/bin/env bash
# Shift+F1 opens the about box, Esc closes it without closing the window, and
# Esc on the window ends the program with status 0.
source "$(dirname "$0")/lib.sh"
start_x
start_app
screenshot main-window

point_at 200 120
xdotool key --clearmodifiers F1
sleep 0.3
xdotool search --onlyvisible --name 'О программе' >/dev/null 2>&1 && fail "F1 alone opened the about box"

xdotool key --clearmodifiers shift+F1
ABOUT=$(xdotool search --sync --onlyvisible --name '^О программе$' | head -n 1)
[ -n "$ABOUT" ] || fail "Shift+F1 opened no about box"
sleep 0.3
import -window "$ABOUT" "$SHOTS/about-box.png"

eval "$(xdotool getwindowgeometry --shell "$ABOUT")"
xdotool mousemove --sync $((X + 20)) $((Y + 20))
xdotool key --clearmodifiers Escape
for _ in $(seq 50); do
    xdotool search --onlyvisible --name '^О программе$' >/dev/null 2>&1 || break
    sleep 0.1
done
xdotool search --onlyvisible --name '^О программе$' >/dev/null 2>&1 && fail "Esc left the about box open"
kill -0 "$APP_PID" || fail "the Esc that closed the about box also ended the program"

point_at 200 120
xdotool key --clearmodifiers shift+Escape
sleep 0.3
kill -0 "$APP_PID" || fail "Shift+Esc ended the program"
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_keys: passed"
