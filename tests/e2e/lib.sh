# Helpers for the end-to-end tests: a private Xvfb, the real program, real X
# input through xdotool, and pixels read back from the X server.
set -euo pipefail

PROGRAM=${PROGRAM:?PROGRAM must name the color-palette binary}
SHOTS=${SHOTS:-$(mktemp -d)}
# Client coordinates are given in device-independent pixels; SCALE is the
# program's scale factor (QT_SCALE_FACTOR).
SCALE=${QT_SCALE_FACTOR:-1}
XVFB_PID=""
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
APP_PID=""

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

start_x() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>/dev/null &
    XVFB_PID=$!
    read -r -t 10 display <"$fifo" || fail "Xvfb did not start"
    rm -f "$fifo"
    export DISPLAY=":$display"
}

# Starts the program and waits until its window is mapped and fully painted.
start_app() {
    "$PROGRAM" "$@" &
    APP_PID=$!
    WINDOW=$(xdotool search --sync --onlyvisible --name '^Color palette$' | head -n 1)
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    WX=$X
    WY=$Y
    local tries=0
    # Bar 6 is grey 127 to 128 half-way up once the paint has finished.
    until [ "$(pixel 354 126)" = "808080" ] || [ "$(pixel 354 126)" = "7F7F7F" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "the bars were never painted"
        sleep 0.1
    done
}

# The colour at a point of the window's client area, as RRGGBB.
pixel() {
    import -window root -crop "1x1+$((WX + $1 * SCALE))+$((WY + $2 * SCALE))" -depth 8 txt:- 2>/dev/null |
        sed -n '2s/.*#\([0-9A-F]\{6\}\).*/\1/p'
}

# Moves the real pointer to a point of the window's client area.
point_at() {
    xdotool mousemove --sync $((WX + $1 * SCALE)) $((WY + $2 * SCALE))
}

screenshot() {
    import -window root -crop "$((477 * SCALE))x$((273 * SCALE))+$WX+$WY" +repage "$SHOTS/$1.png"
}

expect_pixel() {
    local actual
    actual=$(pixel "$1" "$2")
    [ "$actual" = "$3" ] || fail "$4: pixel ($1,$2) is $actual, expected $3"
}

# Waits for the program to end and checks its exit status.
expect_exit() {
    local status=0 tries=0
    while kill -0 "$APP_PID" 2>/dev/null; do
        tries=$((tries + 1))
        [ $tries -lt 50 ] || fail "the program did not end"
        sleep 0.1
    done
    wait "$APP_PID" || status=$?
    APP_PID=""
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1"
}
