#!/usr/bin/env bash
# Two outputs of different densities on Wayland (headless sway): HEADLESS-1
# at scale 1, HEADLESS-2 at scale 2 to the right of it. The window opens whole
# on one output. Moved by the compositor to the other output and back, it
# shows the bars as a window opened there does and picks exactly: hover,
# drag, double-click, keyboard. The portal's screen pick takes another
# program's cells exactly on the scale-1 output. An output switched off under
# the window leaves it on the other one, working; switched on again, the
# window works there too (where sway can switch a headless output off: sway
# 1.7 on wlroots 0.15 refuses, and the test says so).
#
# Unlike X11, a client cannot place its window (the compositor opens it where
# it likes; the test moves it with swaymsg), and one window on two outputs is
# drawn at one density: the part on the other output is scaled by the
# compositor, so only the part on the output whose density the program draws
# at can be exact to the pixel.
source "$(dirname "$0")/waylandlib.sh"
source "$E2E_DIR/pickchecks.sh"
start_sway
start_portal
SECOND_X=$SCREEN_WIDTH # HEADLESS-2's left edge in the layout
add_output HEADLESS-2 1280x1024 2 $SECOND_X 0
WHERE="at 1 + 2 on Wayland"

# ON: the output sway holds the window on. Fails unless the window lies
# whole on it.
window_whole_on_an_output() {
    ON=$(window_field 'o["name"] if all(o["rect"][k] <= w["rect"][k] and w["rect"][k] + w["rect"][d] <= o["rect"][k] + o["rect"][d] for k, d in (("x", "width"), ("y", "height"))) else "across " + o["name"]')
    WAIT_DETAIL="sway holds it $ON at $(window_field '"%(x)d,%(y)d %(width)dx%(height)d" % w["rect"]')"
    [[ $ON == HEADLESS-* ]]
}

# Opens the program with the keyboard focus on output $1, where sway opens
# new windows; checks that it opens whole on an output and notes its bars.
OPENED_BARS=()
open_on() {
    swaymsg focus output "$1" >/dev/null
    open_app
    wait_for 10 "$WHERE: the window did not open whole on one output" window_whole_on_an_output
    echo "  opened with the focus on $1: whole on $ON"
    use_output "$ON"
    place_window
    bar_columns
    OPENED_BARS[${ON#HEADLESS-}]=$BARS
}

# Whether the bars show what a window opened on output $ON showed there.
bars_as_opened_on() {
    bar_columns
    WAIT_DETAIL="they differ from those of a window opened there"
    [ "$BARS" = "${OPENED_BARS[${ON#HEADLESS-}]}" ]
}

# Moves the window to layout position ($1, $2) by the compositor; ON: the
# output it is then whole on, whose device pixels the helpers work in.
move_window() {
    swaymsg "[con_id=$WINDOW] move absolute position $1 $2" >/dev/null
    wait_for 10 "$WHERE: moved to ($1,$2), the window is not whole on one output" window_whole_on_an_output
    use_output "$ON"
    client_geometry
}

# Everything a user does in the window holds on the output it is on now.
check_window_works() {
    local what="$WHERE, $1 ($ON): "
    wait_for 10 "${what}the bars are not as a window opened there shows them" bars_as_opened_on
    check_picking "$what"
    echo "  $1: works on $ON"
}
check_picking() {
    local what=$1
    check_hover_exact "$what"
    check_drag_and_read_back "$what"
    check_keyboard_pick "$what"
}

# Another program's cells on HEADLESS-1, for the portal's pick.
swaymsg focus output HEADLESS-1 >/dev/null
start_cells 20 520

# Start-up: on each output in turn; the second window stays.
open_on HEADLESS-2
key Escape
expect_exit 0 30
open_on HEADLESS-1

move_window $((SECOND_X + 60)) 100
[ "$ON" = HEADLESS-2 ] || fail "$WHERE: moved onto HEADLESS-2, the window is on $ON"
check_window_works "moved to the scale-2 output"
move_window 300 200
[ "$ON" = HEADLESS-1 ] || fail "$WHERE: moved back, the window is on $ON"
check_window_works "moved back"

# The portal's pick of another program's cells on the scale-1 output.
wait_for 10 "$WHERE: the cells are not on the screen where they were put" cells_placed
focus_window
pick_cell 11 7
await_pixel $PREVIEW_X $PREVIEW_Y "$(cell_colour 11 7)" "$WHERE: preview after a portal pick of cell (11, 7)"
pick_cell 40 13
await_pixel $PREVIEW_X $PREVIEW_Y "$(cell_colour 40 13)" "$WHERE: preview after a portal pick of cell (40, 13)"
echo "  the portal's pick takes cells exactly on HEADLESS-1"

# Half-way across: bars 0 to 2 on HEADLESS-1, the rest on HEADLESS-2, which
# holds the window. A surface is drawn at one density, and the compositor
# scales it for the other output; Qt 6.4 keeps the density of the output the
# window entered first (HEADLESS-1 here), so the part on HEADLESS-2 is not as
# crisp as a window opened there. Both parts show the bars, and the part on
# HEADLESS-2 picks exactly what it shows.
BOUNDARY=182 # logical x in the window, between bars 2 and 3
left_at() {
    WAIT_DETAIL="it stands at $(window_field 'w["rect"]["x"]')"
    [ "$(window_field 'w["rect"]["x"]')" = "$1" ]
}
swaymsg "[con_id=$WINDOW] move absolute position $((SECOND_X - BOUNDARY)) 100" >/dev/null
wait_for 10 "$WHERE: sway did not put the window across the boundary" left_at $((SECOND_X - BOUNDARY))
ON=$(window_field 'o["name"]')
[ "$ON" = HEADLESS-2 ] || fail "$WHERE: across, with its centre on HEADLESS-2, sway holds the window on $ON"
use_output HEADLESS-1
client_geometry
# Half-way up, bars 0, 1 and 2 are red, green and blue.
hues_shown() {
    local bar colour channel
    for bar in 0 1 2; do
        colour=$(pixel "$(bar_x $bar)" 126)
        WAIT_DETAIL="bar $bar shows $colour half-way up"
        for channel in 0 1 2; do
            if [ $channel -eq $bar ]; then
                [ $((16#${colour:2*channel:2})) -ge 224 ] || return 1
            else
                [ $((16#${colour:2*channel:2})) -le 32 ] || return 1
            fi
        done
    done
}
wait_for 10 "$WHERE: across, the part on HEADLESS-1 does not show the bars" hues_shown
use_output HEADLESS-2
client_geometry
wait_for 10 "$WHERE: across, the part on HEADLESS-2 does not show the bars" bars_painted
BARS_IN_REACH=(3 4 5 6)
check_picking "$WHERE, half-way across ($ON): "
BARS_IN_REACH=(0 1 2 3 4 5 6)
echo "  half-way across: works on the part on $ON"

# HEADLESS-2 switched off with the window on it, then on again.
move_window $((SECOND_X + 60)) 100
[ "$ON" = HEADLESS-2 ] || fail "$WHERE: moved onto HEADLESS-2 again, the window is on $ON"
log_mark=$(wc -l <"$SWAY_DIR/sway.log")
swaymsg output HEADLESS-2 disable >/dev/null
output_off() {
    WAIT_DETAIL=$(tail -n +$((log_mark + 1)) "$SWAY_DIR/sway.log" | grep -m1 "Failed to commit output HEADLESS-2")
    [ -z "$WAIT_DETAIL" ] || return 0
    ! output_active HEADLESS-2
}
wait_for 10 "$WHERE: HEADLESS-2 was neither switched off nor refused" output_off
if [ -n "$WAIT_DETAIL" ]; then
    # wlroots before 0.16 cannot switch a headless output off.
    echo "  sway refused to switch HEADLESS-2 off: $WAIT_DETAIL"
else
    on_first_output() {
        window_whole_on_an_output && [ "$ON" = HEADLESS-1 ]
    }
    wait_for 10 "$WHERE: with its output off, the window is not whole on HEADLESS-1" on_first_output
    use_output HEADLESS-1
    check_window_works "its output switched off"
    swaymsg output HEADLESS-2 enable >/dev/null
    wait_for 10 "$WHERE: HEADLESS-2 did not come back as it was" output_is HEADLESS-2 1280x1024 2 $SECOND_X 0
    move_window $((SECOND_X + 100)) 150
    [ "$ON" = HEADLESS-2 ] || fail "$WHERE: HEADLESS-2 back, the window does not go onto it"
    check_window_works "its output back on"
fi

key Escape
expect_exit 0 30
echo "e2e_wayland_monitors: passed"
