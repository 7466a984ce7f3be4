#!/usr/bin/env bash
# A real screen reader (Orca, default settings) speaks what a keyboard user
# does: each colour picked along a bar, kept and read back, the toolbar's
# buttons and their state, a screen pick's nudges, take and cancel, and what
# Ctrl+C copied; a hover with the mouse speaks nothing. One Orca for all.
source "$(dirname "$0")/a11ybus.sh"
in_private_session "$0"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/orca.sh"
source "$E2E_DIR/screenpick.sh"
start_x
start_orca
# Qt 6.4 keeps a copy of each key until the screen reader has answered
# whether it takes it, and never frees one whose window has closed meanwhile
# (the pick's overlay after Enter or Esc): no leak check here. The AT-SPI
# test checks the readouts for leaks, without a screen reader to answer late.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
start_app
start_cells
xdotool windowfocus --sync "$WINDOW"
expect_spoken "Color palette"

key() {
    xdotool key --clearmodifiers "$@"
}

# The colour the preview shows, as Orca should speak it.
preview_words() {
    local rgb
    rgb=$(pixel $PREVIEW_X $PREVIEW_Y)
    echo "red $((16#${rgb:0:2})), green $((16#${rgb:2:2})), blue $((16#${rgb:4:2}))"
}

# press KEY...: presses the keys and waits until the preview has changed.
press_and_pick() {
    local before
    before=$(pixel $PREVIEW_X $PREVIEW_Y)
    key "$@"
    wait_for 10 "$* picked nothing" pixel_is_not $PREVIEW_X $PREVIEW_Y "$before"
}

# A hover picks, silently: Tab's own speech comes after everything the hover
# might have caused, and no colour is spoken before it.
mark_spoken
hover_pick 57 140 >/dev/null
key Tab
expect_spoken "Red bar"
spoken_lines | sed '/Red bar/q' | grep -E 'red [0-9]+, green' &&
    fail "a hover was spoken: $(spoken_lines | paste -sd '|')"

# Keyboard picks along the focused bar: each speaks the colour it picked.
for keys in Down Down Page_Down Home End Up; do
    mark_spoken
    press_and_pick $keys
    expect_spoken_line "$(preview_words)"
    [ $keys != Home ] || top=$(pixel $PREVIEW_X $PREVIEW_Y)
done
# Held down, ending at the top: the top's colour is spoken, and it is the last
# colour spoken before the next key's answer (no backlog of older ones).
mark_spoken
key Page_Up Page_Up Page_Up Page_Up Up Up Up Up Up Up Home
await_pixel $PREVIEW_X $PREVIEW_Y "$top" "the held keys"
kept=$(preview_words)
expect_spoken_line "$kept"

# Space keeps the colour and says so.
key space
expect_spoken_line "Selected color, $kept"
last_colour=$(spoken_lines | grep -E '^(Selected color, )?red [0-9]+, green' | tail -2 | head -1)
[ "$last_colour" = "$kept." ] ||
    fail "the held keys' last colour spoken was \"$last_colour\" (Orca spoke: $(spoken_lines | paste -sd '|'))"
mark_spoken
key ctrl+c
expect_spoken_line "Copied $kept"

# Another colour in the preview, then the swatch reads the kept one back.
hover_pick 105 100 >/dev/null
for _ in 1 2 3 4 5 6 7 8; do key Tab; done
expect_spoken "Selected color"
mark_spoken
key Return
expect_spoken_line "$kept"

# The toolbar: Up and Down speak the chosen button, Space its new state.
mark_spoken
key Tab Tab
expect_spoken "Toolbar"
mark_spoken
key Down
expect_spoken "Title-bar colours check box not checked"
mark_spoken
key space
expect_spoken_line "checked"
mark_spoken
key Down
expect_spoken "About Color palette"

# A screen pick over the cells program: the pointer's moves stay silent,
# each nudge speaks the colour under the cross-hair, the take the colour
# taken, Esc that the pick was cancelled.
cell_words() {
    local rgb
    rgb=$(cell "$1" "$2")
    echo "red $((16#${rgb:0:2})), green $((16#${rgb:2:2})), blue $((16#${rgb:4:2}))"
}
mark_spoken
key ctrl+p
expect_spoken "Pick a colour from the screen"
wait_for 10 "Ctrl+P showed no cross-hair over the screen" overlay_shown
mark_spoken
point_at_cell 3 4
key Right
expect_spoken_line "$(cell_words 4 4)"
spoken_lines | grep -F "$(cell_words 3 4)" &&
    fail "a move of the pointer was spoken: $(spoken_lines | paste -sd '|')"
mark_spoken
key Down
expect_spoken_line "$(cell_words 4 5)"
mark_spoken
key Return
expect_spoken_line "Picked $(cell_words 4 5)"
wait_for 10 "the cross-hair stayed after the take" overlay_gone
mark_spoken
key ctrl+p
expect_spoken "Pick a colour from the screen"
wait_for 10 "Ctrl+P showed no cross-hair over the screen" overlay_shown
key Escape
expect_spoken_line "Pick cancelled"
wait_for 10 "the cross-hair stayed after Esc" overlay_gone

# Back on the toolbar: a switch pressed after the focus has been elsewhere
# is presented whole, with its new state.
mark_spoken
key Up
expect_spoken "Title-bar colours check box checked"
mark_spoken
key Tab
expect_spoken "Red bar"
mark_spoken
key shift+Tab
expect_spoken "Toolbar"
mark_spoken
key space
expect_spoken "Title-bar colours check box not checked"

key Escape
# Qt waits 100 ms for the screen reader's answer about a key, then hands the
# key on all the same and says so on stderr, and again when the answer comes
# too late; Orca on a busy machine often answers later. Anything else on
# stderr is a fault.
wait_for 5 "the program did not end" app_ended
sed -i -e '/^QSpiApplication::keyEventError  "org.freedesktop.DBus.Error.NoReply"/d' \
    -e '/^QSpiApplication::notifyKeyboardListenerCallback with no queued key called$/d' \
    "$XDG_RUNTIME_DIR/stderr"
expect_exit 0
