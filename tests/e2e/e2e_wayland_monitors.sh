#!/usr/bin/env bash
# Two outputs of different densities on Wayland (headless sway): HEADLESS-1
# at scale 1, HEADLESS-2 at scale 2 to the right of it. The window opens whole
# on one output. Moved by the compositor to the other output and back, it
# shows the bars as a window opened there does and picks exactly: hover,
# drag, double-click, keyboard. The portal's screen pick takes another
# program's cells exactly on the scale-1 output. An output switched off under
# the window leaves it on the other one, working; switched on again, the
# window works there too.
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
    check_hover_exact "$what"
    check_drag_and_read_back "$what"
    check_keyboard_pick "$what"
    echo "  $1: works on $ON"
}

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

key Escape
expect_exit 0 30
echo "e2e_wayland_monitors: passed"
