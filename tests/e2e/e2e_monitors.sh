#!/usr/bin/env bash
# Two monitors side by side, each at its own density (Xorg's dummy driver;
# MONITOR_SCALES="a b" gives the left one scale a and the right one b). The window opens centred on
# the monitor that holds the pointer. Moved to the other monitor by a program,
# by the window manager (WM=openbox) and half-way across, it shows the bars as
# crisp as a window opened there and picks exactly: hover, drag, double-click,
# keyboard. The screen pick reads each monitor at its own density, nudges
# across the boundary one device pixel at a time, and keeps its magnifier whole
# on the monitor under the pointer. A monitor switched off leaves the window
# on the other one, working, and ends a pick under way; switched on again, all
# works as before.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/pickchecks.sh"
source "$E2E_DIR/screenpick.sh"
MONITORS="1280x1024 1280x1024"
read -ra MONITOR_SCALE <<<"${MONITOR_SCALES:?MONITOR_SCALES must give the two monitors their scales}"
export QT_SCREEN_SCALE_FACTORS="DUMMY0=${MONITOR_SCALE[0]};DUMMY1=${MONITOR_SCALE[1]}"
start_x
WHERE="at ${MONITOR_SCALE[0]} + ${MONITOR_SCALE[1]}${WM:+ under $WM}"

# MON: the monitor that holds the window's centre, which Qt puts it on; the
# helpers then work at its scale.
window_monitor() {
    client_geometry
    MON=$((WX + WW / 2 >= MONITOR_X[1] ? 1 : 0))
    use_scale "${MONITOR_SCALE[MON]}"
}

# The frame lies whole on monitor $1, centred within a logical pixel of it.
expect_centred_on() {
    local m=$1 left right top bottom slack
    frame_geometry
    left=$((FX - MONITOR_X[m])) right=$((MONITOR_X[m] + MONITOR_W[m] - FX - FW))
    top=$FY bottom=$((MONITOR_H[m] - FY - FH))
    [ $left -ge 0 ] && [ $right -ge 0 ] && [ $top -ge 0 ] && [ $bottom -ge 0 ] ||
        fail "$WHERE: the window is not whole on monitor $m: frame ${FW}x$FH at $FX,$FY"
    slack=$((2 * (SCALE_MILLI + 999) / 1000))
    [ $((left - right)) -le $slack ] && [ $((right - left)) -le $slack ] &&
        [ $((top - bottom)) -le $slack ] && [ $((bottom - top)) -le $slack ] ||
        fail "$WHERE: the window is not centred on monitor $m: margins $left, $right, $top, $bottom"
}

# Whether the bars show what a window opened on monitor $1 showed there.
bars_as_opened_on() {
    bar_columns
    WAIT_DETAIL="they differ from those of a window opened there"
    [ "$BARS" = "${OPENED_BARS[$1]}" ]
}

# Opens the program with the pointer on monitor $1, checks where it opened,
# and notes its bars there.
OPENED_BARS=()
open_on() {
    xdotool mousemove --sync $((MONITOR_X[$1] + MONITOR_W[$1] / 2)) $((MONITOR_H[$1] / 2))
    use_scale "${MONITOR_SCALE[$1]}"
    start_app
    window_monitor
    [ "$MON" -eq "$1" ] || fail "$WHERE: opened with the pointer on monitor $1, the window is on monitor $MON"
    expect_centred_on "$1"
    bar_columns
    OPENED_BARS[$1]=$BARS
}

# Everything a user does in the window holds on the monitor it is on now.
check_window_works() {
    local what="$WHERE, $1 (monitor $MON): "
    wait_for 10 "${what}the bars are not as crisp as in a window opened there" bars_as_opened_on "$MON"
    check_hover_exact "$what"
    check_drag_and_read_back "$what"
    check_keyboard_pick "$what"
    echo "  $1: works on monitor $MON"
}

# Moves the window's client area to root device pixel ($1, $2) as a program
# does, and waits until it stays there.
move_window() {
    xdotool windowmove --sync "$WINDOW" "$1" "$2" || true
    wait_for 10 "$WHERE: the window kept moving" window_settled
    window_monitor
}

# Drags the window by its title bar, as the window manager lets a user do.
drag_window_by_title() {
    frame_geometry
    local x=$((FX + FW / 2)) y=$((FY + (WY - FY) / 2))
    xdotool mousemove --sync $x $y mousedown 1
    xdotool mousemove --sync $((x + $1 / 2)) $y
    xdotool mousemove --sync $((x + $1)) $y mouseup 1
    wait_for 10 "$WHERE: the window kept moving" window_settled
    window_monitor
}

# Start-up, on each monitor in turn.
open_on 0
xdotool key --clearmodifiers Escape
expect_exit 0
open_on 1
echo "  opens centred on the monitor with the pointer"
check_window_works "opened there"

move_window $((MONITOR_X[0] + 300)) 400
[ "$MON" -eq 0 ] || fail "$WHERE: moved by a program onto monitor 0, the window is on monitor $MON"
check_window_works "moved by a program"

move_window $((MONITOR_X[1] - WW / 2 + 20)) 400
check_window_works "half-way across"

if [ -n "${WM:-}" ]; then
    before=$MON
    drag_window_by_title $(((1 - 2 * MON) * 700))
    [ "$MON" -ne "$before" ] || fail "$WHERE: dragged by its title bar, the window stayed on monitor $MON"
    check_window_works "moved by the window manager"
fi
move_window $((MONITOR_X[1] + 100)) 300
check_window_works "moved back"

# The screen pick, over other programs' cells on each monitor and across the
# boundary.
start_cells "Cells left"
xdotool windowmove --sync "$CELLS_WINDOW" 40 20
LEFT_WINDOW=$CELLS_WINDOW
start_cells "Cells right"
xdotool windowmove --sync "$CELLS_WINDOW" $((MONITOR_X[1] + 900)) 20
RIGHT_WINDOW=$CELLS_WINDOW
start_cells "Cells across"
xdotool windowmove --sync "$CELLS_WINDOW" $((MONITOR_X[1] - 24)) 20
ACROSS_WINDOW=$CELLS_WINDOW

# cells_of WINDOW: CX CY, where its cell (0, 0) is.
cells_of() {
    probe origin "$1"
    read -r CX CY <<<"$REPLY"
}
# take_cell WINDOW MONITOR X Y: a pick of that cell by a click.
take_cell() {
    cells_of "$1"
    MAGNIFIER_SCALE=${MONITOR_SCALE[$2]}
    point_at_cell "$3" "$4"
    xdotool click 1
    wait_for 5 "$WHERE: the click on cell ($3, $4) of monitor $2 did not end the pick" overlay_gone
    wait_for 5 "$WHERE: the cell ($3, $4) taken on monitor $2 is not in the preview" \
        preview_is "$(cell "$3" "$4")"
}
start_pick
take_cell "$LEFT_WINDOW" 0 7 9
start_pick
# Both screens are shown still, device pixel for device pixel.
cells_of "$LEFT_WINDOW"
probe pixels $((CX + 30)) $((CY + 50))
[ "$REPLY" = "$(cell 30 50)" ] || fail "$WHERE: during a pick monitor 0 shows $REPLY at cell (30, 50)"
cells_of "$RIGHT_WINDOW"
probe pixels $((CX + 31)) $((CY + 51))
[ "$REPLY" = "$(cell 31 51)" ] || fail "$WHERE: during a pick monitor 1 shows $REPLY at cell (31, 51)"
take_cell "$RIGHT_WINDOW" 1 31 51
echo "  the screen pick reads each monitor at its own density"

# Across the boundary, one device pixel a nudge; the magnifier stays whole on
# the monitor under the hot spot: below left of it at monitor 0's right edge.
start_pick
cells_of "$ACROSS_WINDOW"
# B: the first column of cells on monitor 1.
B=$((MONITOR_X[1] - CX))
[ $B -ge 2 ] && [ $B -le 58 ] || fail "$WHERE: the cells window meant to lie across the boundary is at $CX"
POINTER=""
xdotool mousemove --sync $((CX + B - 2)) $((CY + 5))
for step in "Right -1 0 left" "Right 0 1" "Right 1 1" "Left 0 1" "Left -1 0 left"; do
    read -r key offset monitor side <<<"$step"
    column=$((B + offset))
    xdotool key "$key"
    MAGNIFIER_SCALE=${MONITOR_SCALE[monitor]}
    wait_for 5 "$WHERE: $key to cell $column (monitor $monitor) did not move the magnifier there, whole on that monitor" \
        magnifier_shows "$column" 5 "$side"
    wait_for 5 "$WHERE: $key to cell $column did not reach the preview" preview_is "$(cell "$column" 5)"
done
xdotool key Return
wait_for 5 "$WHERE: Enter did not end the pick" overlay_gone
wait_for 5 "$WHERE: the cell nudged to is not in the preview" preview_is "$(cell $((B - 1)) 5)"
echo "  nudges cross the boundary one device pixel at a time"

# Monitor 1 switched off under a running pick, then with the window on it.
before=$(pixel $PREVIEW_X $PREVIEW_Y)
start_pick
xrandr --output DUMMY1 --off
wait_for 10 "$WHERE: a monitor switched off left a cross-hair on screen" overlay_gone
wait_for 5 "$WHERE: a monitor switched off left the pointer grabbed" pointer_free
wait_for 5 "$WHERE: a monitor switched off left the keyboard grabbed" keyboard_free
window_whole_on_monitor_0() {
    window_monitor
    frame_geometry
    WAIT_DETAIL="frame ${FW}x$FH at $FX,$FY"
    [ $FX -ge 0 ] && [ $((FX + FW)) -le ${MONITOR_W[0]} ] && [ $((FY + FH)) -le ${MONITOR_H[0]} ]
}
wait_for 10 "$WHERE: with its monitor off the window is not on the other one" window_whole_on_monitor_0
wait_for 5 "$WHERE: the pick cancelled by a monitor going away changed the preview" \
    preview_is "$before"
check_window_works "its monitor switched off"

xrandr --output DUMMY1 --mode "m${MONITORS#* }" --right-of DUMMY0
move_window $((MONITOR_X[1] + 150)) 350
[ "$MON" -eq 1 ] || fail "$WHERE: monitor 1 back, the window does not go onto it"
check_window_works "its monitor back on"
# A window manager moves windows off a monitor that goes away.
xdotool windowmove --sync "$RIGHT_WINDOW" $((MONITOR_X[1] + 900)) 20 || true
start_pick
take_cell "$RIGHT_WINDOW" 1 12 13

point_at $REST_X $REST_Y
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_monitors $WHERE: passed"
