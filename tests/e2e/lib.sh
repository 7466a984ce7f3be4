# Helpers for the end-to-end tests: a private Xvfb (with openbox when WM=openbox),
# the real program, real X input through xdotool, and pixels read back from the
# X server.
set -euo pipefail

PROGRAM=${PROGRAM:?PROGRAM must name the color-palette binary}
SHOTS=${SHOTS:-$(mktemp -d)}
E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$E2E_DIR/xorgmonitors.sh"
SCREEN_WIDTH=1024
SCREEN_HEIGHT=768
BAR_LEFTS=(36 84 132 184 232 280 332) # each bar's left border, logical pixels
PREVIEW_X=394; PREVIEW_Y=195 # inside the preview swatch, clear of the icon
SWATCH_X=429; SWATCH_Y=61    # centre of the selected-colour swatch
# The bars the checks pick from: all, or those on the part of a window across
# two outputs that is read exactly.
BARS_IN_REACH=(0 1 2 3 4 5 6)
# The logical x of a point well inside bar $1.
bar_x() {
    echo $((BAR_LEFTS[$1] + 21))
}
# The scale factor (QT_SCALE_FACTOR, or the Wayland OUTPUT_SCALE), a real
# number such as 1.25.
# The X server works in device pixels; client coordinates in the tests are
# logical pixels unless a helper says "device". Bash has integers only, so the
# scale is kept in thousandths and every conversion rounds explicitly.
# thousandths FACTOR: a scale such as 1.25 in thousandths, rounded.
thousandths() {
    awk -v scale="$1" 'BEGIN { printf "%d", scale * 1000 + 0.5 }'
}
# use_scale FACTOR: the scale the helpers below work at; with several
# monitors, the one of the monitor the window is on.
use_scale() {
    SCALE=$1
    SCALE_MILLI=$(thousandths "$SCALE")
    PERCENT=$((SCALE_MILLI / 10))
}
use_scale "${OUTPUT_SCALE:-${QT_SCALE_FACTOR:-1}}"
APP_PID=""
# Processes that end with the test: the X server, the window manager, helpers;
# and folders that go with it.
HELPER_PIDS=()
HELPER_DIRS=()
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR

cleanup() {
    local pid
    # strace goes first, so that the signal that ends the program reaches it.
    stop_tracer
    for pid in $APP_PID "${HELPER_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        # A stopped process takes the signal once it runs again.
        kill -CONT "$pid" 2>/dev/null || true
    done
    # A helper may still write its files while it ends (a sound server, a
    # speech server): they go once it has.
    poll 5 helpers_ended || true
    rm -rf "$XDG_RUNTIME_DIR" "${HELPER_DIRS[@]}"
}
helpers_ended() {
    local pid
    for pid in "${HELPER_PIDS[@]}"; do
        ! kill -0 "$pid" 2>/dev/null || return 1
    done
}
trap cleanup EXIT

fail() {
    echo "FAIL${WM:+ under $WM} at $PERCENT %: $*" >&2
    exit 1
}

# problem WHAT: a fault worth reporting that need not stop the test;
# fail_on_problems ends the test with all of them.
PROBLEMS=()
problem() {
    PROBLEMS+=("$*")
    [ ${#PROBLEMS[@]} -gt 10 ] || echo "  problem: $*" >&2
}
fail_on_problems() {
    [ ${#PROBLEMS[@]} -eq 0 ] || fail "${1:-${#PROBLEMS[@]} problem(s)}; the first: ${PROBLEMS[0]}"
}

# poll SECONDS COMMAND...: runs COMMAND until it succeeds, for at most SECONDS;
# the status says whether it did.
poll() {
    local deadline=$((${EPOCHREALTIME//[.,]/} + $1 * 1000000))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME//[.,]/}" -lt $deadline ] || return 1
        sleep 0.02
    done
}

# wait_for SECONDS WHAT COMMAND...: polls COMMAND; fails with "WHAT" if it has
# not succeeded after SECONDS. COMMAND may set WAIT_DETAIL to say what it saw.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    WAIT_DETAIL=""
    poll "$seconds" "$@" || fail "$what${WAIT_DETAIL:+ ($WAIT_DETAIL)}"
}

# xdotool moves the pointer on X screen 0 unless told another.
if [ -n "${SECOND_X_SCREEN:-}" ]; then
    xdotool() {
        if [ "$1" = mousemove ] && [ "$2" != --screen ]; then
            shift
            command xdotool mousemove --screen 1 "$@"
        else
            command xdotool "$@"
        fi
    }
fi

start_x() {
    local fifo display
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    if [ -n "${MONITORS:-}" ]; then
        start_xorg_dummy "$fifo" "$XDG_RUNTIME_DIR/xorg.log"
        HELPER_PIDS+=($!)
    elif [ -n "${SECOND_X_SCREEN:-}" ]; then
        # Everything happens on X screen 1: the program, the helpers and the
        # window manager take it from DISPLAY. Screen 0 is smaller, so a
        # position read against the wrong root shows.
        Xvfb -displayfd 3 -screen 0 640x480x24 -screen 1 ${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
        HELPER_PIDS+=($!)
    else
        Xvfb -displayfd 3 -screen 0 ${SCREEN_WIDTH}x${SCREEN_HEIGHT}x24 -nolisten tcp -noreset 3>"$fifo" >/dev/null 2>&1 &
        HELPER_PIDS+=($!)
    fi
    read -r -t 10 display <"$fifo" || fail "the X server did not start"
    rm -f "$fifo"
    export DISPLAY=":$display${SECOND_X_SCREEN:+.1}"
    [ -z "${MONITORS:-}" ] || arrange_monitors $MONITORS || fail "the monitors $MONITORS did not come on"
    coproc PROBE { exec /usr/bin/python3 "$E2E_DIR/xprobe.py"; }
    # Plain descriptors, unlike a coprocess's, reach command substitutions.
    exec 7>&"${PROBE[1]}" 8<&"${PROBE[0]}"
    # It watches windows from then on: the program's among them.
    IFS= read -r -t 10 REPLY <&8 && [ "$REPLY" = ready ] || fail "xprobe.py, which reads the screen, did not start"
    case ${WM:-} in
    "") ;;
    openbox)
        openbox --sm-disable >/dev/null 2>&1 &
        HELPER_PIDS+=($!)
        wait_for 10 "openbox did not take over the screen" wm_running
        wait_for 10 "openbox took in no window" wm_manages
        ;;
    *) fail "unknown window manager WM=$WM" ;;
    esac
    # SILENT_WM: no window manager, but the root window names one that
    # promises frame estimates it never gives.
    [ -z "${SILENT_WM:-}" ] || probe silent_wm
}

# openbox names itself on the root window before it manages windows, and a
# window mapped in between may never be shown; its client list comes later.
wm_running() {
    [ "$(xprop -root _NET_SUPPORTING_WM_CHECK _NET_CLIENT_LIST_STACKING 2>/dev/null |
        grep -c 'window id')" -eq 2 ]
}

# Whether the window manager takes in new windows yet.
wm_manages() {
    probe managed
    [ "$REPLY" = yes ]
}

# probe COMMAND...: one request to xprobe.py; the answer lands in REPLY.
probe() {
    echo "$*" >&7
    IFS= read -r REPLY <&8 || fail "xprobe.py, which reads the screen, ended"
}

# The device pixel under the centre of logical pixel $1 of the client area.
device() {
    echo $((($1 * 2 * SCALE_MILLI + SCALE_MILLI) / 2000))
}

# DX, DY: the device pixel under the centre of logical pixel ($1,$2).
to_device() {
    DX=$(device "$1")
    DY=$(device "$2")
}

# Starts the program and waits until its window is mapped and fully painted.
# WX, WY: the root position of the client area; WW, WH its size, device pixels.
start_app() {
    "$PROGRAM" "$@" 2>"$XDG_RUNTIME_DIR/stderr" &
    APP_PID=$!
    wait_for 20 "the program showed no window" window_viewable
    wait_for 20 "the bars were not painted" bars_painted
    wait_for 5 "the window kept moving" window_settled
    client_geometry
}

# WINDOW: the program's main window, once it exists.
window_exists() {
    kill -0 "$APP_PID" 2>/dev/null ||
        fail "the program ended before its window was shown: $(cat "$XDG_RUNTIME_DIR/stderr")"
    probe find Color palette
    WINDOW=$REPLY
    [ "$WINDOW" != none ]
}

window_viewable() {
    WAIT_DETAIL="no window named Color palette"
    window_exists || return 1
    probe state "$WINDOW"
    WAIT_DETAIL="window $WINDOW is $REPLY"
    [ "$REPLY" = viewable ]
}

# WX, WY: the root position of the client area's top-left device pixel.
window_origin() {
    probe origin "$WINDOW"
    read -r WX WY <<<"$REPLY"
}

client_geometry() {
    window_origin
    eval "$(xwininfo -id "$WINDOW" | awk '/^  Width:/ { print "WW=" $2 } /^  Height:/ { print "WH=" $2 }')"
}

# A window may still be placed once it is on screen.
window_settled() {
    local before="$WX $WY"
    sleep 0.2
    window_origin
    [ "$before" = "$WX $WY" ]
}

bars_painted() {
    local left
    local -a colours
    window_origin
    to_device 0 126
    local middle=$DY points=""
    for left in "${BAR_LEFTS[@]}"; do
        points+=" $(device $((left + 22))) $middle"
    done
    pixels_device $points
    read -ra colours <<<"$REPLY"
    WAIT_DETAIL="half-way up, bars 0 to 6 show ${colours[*]}"
    # Bar 6, painted last, is a mid grey there once the paint has finished.
    local grey=${colours[6]:0:2}
    [ "${colours[6]}" = "$grey$grey$grey" ] && [ $((16#$grey)) -ge 120 ] && [ $((16#$grey)) -le 136 ]
}

# pixels_device DX DY ...: colours RRGGBB at device points of the client area,
# read one after the other in that order, into REPLY.
pixels_device() {
    local request="" x y
    while [ $# -gt 0 ]; do
        x=$1 y=$2
        shift 2
        request+=" $((WX + x)) $((WY + y))"
    done
    probe pixels $request
}

# The colour at a logical point of the client area, as RRGGBB.
pixel() {
    to_device "$1" "$2"
    probe pixels $((WX + DX)) $((WY + DY))
    echo "$REPLY"
}

# Moves the real pointer to a device point of the client area. (xdotool's
# --sync waits for a move, so a move to where the pointer already is would
# hang.)
POINTER=""
point_at_device() {
    [ "$POINTER" != "$((WX + $1)) $((WY + $2))" ] || return 0
    POINTER="$((WX + $1)) $((WY + $2))"
    xdotool mousemove --sync $POINTER
}

# Moves the real pointer into a device pixel of the client area: on X11 the
# pointer has whole device pixels only.
point_into_device() {
    point_at_device "$@"
}

# button press|release|click left|middle|right: a pointer button.
button() {
    local number
    case $2 in left) number=1 ;; middle) number=2 ;; right) number=3 ;; esac
    case $1 in
    press) xdotool mousedown $number ;;
    release) xdotool mouseup $number ;;
    click) xdotool click $number ;;
    esac
}
double_click() {
    xdotool click --repeat 2 --delay 50 1
}
# key KEY...: keys pressed and released in turn.
key() {
    xdotool key "$@"
}

# Moves the real pointer to a logical point of the client area.
point_at() {
    to_device "$1" "$2"
    point_at_device $DX $DY
}

# The window's frame as the user sees it: FX FY FW FH, root device pixels.
frame_geometry() {
    local left=0 right=0 top=0 bottom=0 extents
    extents=$(xprop -id "$WINDOW" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.* = //p')
    [ -n "$extents" ] && IFS=', ' read -r left right top bottom <<<"$extents"
    FX=$((WX - left)) FY=$((WY - top))
    FW=$((WW + left + right)) FH=$((WH + top + bottom))
}

# Saves the window, its frame included, as seen on the screen.
screenshot() {
    frame_geometry
    import -window root -crop "${FW}x${FH}+$FX+$FY" +repage "$SHOTS/$1.png"
}

# Hovers a point of the client area and waits until the preview swatch
# (PREVIEW_X, PREVIEW_Y) shows the pixel under the pointer; prints that
# pixel, RRGGBB.
hover_pick() {
    point_at "$1" "$2"
    local under
    under=$(pixel "$1" "$2")
    await_pixel $PREVIEW_X $PREVIEW_Y "$under" "preview after hovering ($1,$2)"
    echo "$under"
}

# pixel_is X Y COLOUR: whether the logical point shows COLOUR; for wait_for.
pixel_is() {
    to_device "$1" "$2"
    probe pixels $((WX + DX)) $((WY + DY))
    WAIT_DETAIL="it shows $REPLY"
    [ "$REPLY" = "$3" ]
}

# pixel_is_not X Y COLOUR: whether the logical point shows another colour.
pixel_is_not() {
    ! pixel_is "$@"
}

# await_pixel X Y COLOUR WHAT: waits until the logical point shows COLOUR.
await_pixel() {
    wait_for 10 "$4: pixel ($1,$2) never showed $3" pixel_is "$1" "$2" "$3"
}

# The colour at a device point of the client area, as RRGGBB.
pixel_device() {
    pixels_device "$1" "$2"
    echo "$REPLY"
}

# input_barrier: hovers a point of bar 0 or 1 whose colour the preview does
# not show, and waits until it does. Input is served in order, so all input
# sent before has then been handled: what it should not have done can be
# checked now. It changes the preview.
input_barrier() {
    local shown point x y first second
    shown=$(pixel $PREVIEW_X $PREVIEW_Y)
    first=$(bar_x "${BARS_IN_REACH[0]}") second=$(bar_x "${BARS_IN_REACH[1]}")
    for point in "$first 100" "$second 100" "$first 140" "$second 140"; do
        read -r x y <<<"$point"
        to_device $x $y
        [ "$POINTER" != "$((WX + DX)) $((WY + DY))" ] && [ "$(pixel $x $y)" != "$shown" ] && break
    done
    point_at $x $y
    wait_for 10 "the window took no input any more: a hover at ($x,$y) did not reach the preview" \
        barrier_passed $PREVIEW_X $PREVIEW_Y "$(pixel $x $y)"
}
barrier_passed() {
    ! app_ended || fail "the program ended: $(cat "$XDG_RUNTIME_DIR/stderr")"
    pixel_is "$@"
}

# await_drawn WINDOW: waits until the window is on screen, shows more than
# one colour and holds still from one read to the next: drawn, for a
# screenshot.
await_drawn() {
    DRAWN=""
    wait_for 10 "window $1 was never drawn" window_drawn "$1"
}
window_drawn() {
    local x y offset request=""
    probe state "$1"
    [ "$REPLY" = viewable ] || return 1
    probe origin "$1"
    read -r x y <<<"$REPLY"
    for offset in 5 15 25 35 45 55 65; do
        request+=" $((x + offset * 3)) $((y + offset)) $((x + offset)) $((y + offset * 2))"
    done
    probe pixels $request
    local before=$DRAWN
    DRAWN=$REPLY
    [ "$REPLY" = "$before" ] && [ "$(tr ' ' '\n' <<<"$REPLY" | sort -u | wc -l)" -gt 1 ]
}

expect_pixel() {
    local actual
    actual=$(pixel "$1" "$2")
    [ "$actual" = "$3" ] || fail "$4: pixel ($1,$2) is $actual, expected $3"
}

# Whether the window has the keyboard: under a window manager once the
# manager has given it the focus (after a dialog closes, say); without one
# the keyboard follows the pointer.
window_focused() {
    [ -n "${WM:-}" ] || return 0
    local focus
    focus=$(xdotool getwindowfocus 2>/dev/null) || return 1
    WAIT_DETAIL="the focus is on window $focus"
    [ "$focus" = "$((WINDOW))" ]
}

app_ended() {
    ! kill -0 "$APP_PID" 2>/dev/null
}

# expect_exit STATUS [SECONDS]: waits for the program to end and checks its
# exit status, and that it said nothing on stderr.
expect_exit() {
    local status=0
    wait_for "${2:-5}" "the program did not end" app_ended
    wait "$APP_PID" || status=$?
    APP_PID=""
    [ "$status" -eq "$1" ] || fail "exit status $status, expected $1; stderr: $(cat "$XDG_RUNTIME_DIR/stderr")"
    [ ! -s "$XDG_RUNTIME_DIR/stderr" ] || fail "the program wrote to stderr: $(cat "$XDG_RUNTIME_DIR/stderr")"
}

# The program is stopped, or has ended.
app_halted() {
    local stat
    read -r stat 2>/dev/null </proc/$APP_PID/stat || return 0
    stat=${stat##*) }
    case ${stat%% *} in T | t | Z | X) ;; *) return 1 ;; esac
}

traced() {
    grep -q '^TracerPid:[[:space:]]*[1-9]' /proc/$APP_PID/status
}
untraced() {
    ! traced
}

# Starts the program slowed down: stopped before its first instruction, then
# taken by strace, which delays every poll of every thread, then let go.
# ENVIRONMENT... are settings for the program.
start_slowed() {
    env "$@" bash -c 'kill -STOP $$ && exec "$0"' "$PROGRAM" 2>"$XDG_RUNTIME_DIR/stderr" &
    APP_PID=$!
    wait_for 10 "the program did not start" app_halted
    strace -f -e trace=poll,ppoll -e inject=poll,ppoll:delay_enter=500 -o /dev/null \
        -p "$APP_PID" 2>/dev/null &
    STRACE_PID=$!
    HELPER_PIDS+=($STRACE_PID)
    wait_for 10 "strace did not take the program" traced
    kill -CONT "$APP_PID"
}

# Lets the program go on at its own speed (a sanitizer build checks for leaks
# at the end, which it cannot do under a tracer).
release_slowed() {
    kill "$STRACE_PID"
    wait_for 10 "strace did not let the program go" untraced
}

stop_tracer() {
    [ -z "${STRACE_PID:-}" ] || kill "$STRACE_PID" 2>/dev/null || true
    [ -z "${STRACE_PID:-}" ] || wait "$STRACE_PID" 2>/dev/null || true
}
