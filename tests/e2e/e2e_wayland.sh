#!/usr/bin/env bash
# Wayland, where a program cannot place its window: under weston's headless
# backend the program starts (its centring does nothing and succeeds), paints
# the seven bars and keeps running.
source "$(dirname "$0")/lib.sh"

SOCKET=palette-e2e
weston --backend=headless-backend.so --use-pixman --debug --socket=$SOCKET \
    --width=$SCREEN_WIDTH --height=$SCREEN_HEIGHT --idle-time=0 \
    >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
HELPER_PIDS+=($!)
weston_ready() {
    WAIT_DETAIL=$(tail -n 3 "$XDG_RUNTIME_DIR/weston.log")
    [ -S "$XDG_RUNTIME_DIR/$SOCKET" ]
}
wait_for 20 "weston did not start" weston_ready

export WAYLAND_DISPLAY=$SOCKET QT_QPA_PLATFORM=wayland
unset DISPLAY
"$PROGRAM" 2>"$XDG_RUNTIME_DIR/stderr" &
APP_PID=$!

# weston-screenshooter writes wayland-screenshot-<time>.png where it runs.
SHOOTING=$XDG_RUNTIME_DIR/shots
mkdir "$SHOOTING"
bars_on_screen() {
    kill -0 "$APP_PID" 2>/dev/null || fail "the program ended: $(cat "$XDG_RUNTIME_DIR/stderr")"
    rm -f "$SHOOTING"/*.png
    (cd "$SHOOTING" && weston-screenshooter >/dev/null 2>&1) || return 1
    SHOT=$(ls "$SHOOTING"/*.png 2>/dev/null | head -n 1)
    [ -n "$SHOT" ] || return 1
    WAIT_DETAIL=$(convert "$SHOT" ppm:- | /usr/bin/python3 "$E2E_DIR/findbars.py" 2>&1)
}
wait_for 30 "the bars never showed on the Wayland screen" bars_on_screen
cp "$SHOT" "$SHOTS/wayland.png"
echo "on the Wayland screen, $WAIT_DETAIL"

# The paint has ended once the screen holds still from one shot to the next.
screen_still() {
    local before=${STILL:-}
    rm -f "$SHOOTING"/*.png
    (cd "$SHOOTING" && weston-screenshooter >/dev/null 2>&1) || return 1
    STILL=$(convert "$SHOOTING"/*.png ppm:- 2>/dev/null | md5sum)
    [ "$STILL" = "$before" ]
}
wait_for 30 "the Wayland screen never held still" screen_still
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended after painting: $(cat "$XDG_RUNTIME_DIR/stderr")"
[ ! -s "$XDG_RUNTIME_DIR/stderr" ] || fail "the program wrote to stderr: $(cat "$XDG_RUNTIME_DIR/stderr")"
echo "e2e_wayland: passed"
