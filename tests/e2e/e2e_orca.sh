#!/usr/bin/env bash
# A real screen reader (Orca, default settings) speaks what a keyboard user
# does: each colour picked along a bar, kept and read back, the toolbar's
# buttons and their state, a screen pick's nudges, take and cancel, and what
# Ctrl+C copied; a hover with the mouse speaks nothing. One Orca for all.
source "$(dirname "$0")/a11ybus.sh"
in_private_session "$0"
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/orca.sh"
start_x
start_orca
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_app
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
done
# Held down: the last colour is spoken.
mark_spoken
press_and_pick Page_Up Page_Up Page_Up Page_Up Up Up Up Up Up Up
expect_spoken_line "$(preview_words)"

# Space keeps the colour and says so.
mark_spoken
kept=$(preview_words)
key space
expect_spoken_line "Selected color, $kept"
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
expect_spoken "Title-bar colours check box checked"
mark_spoken
key Down
expect_spoken "About Color palette"

# A screen pick: each nudge speaks the colour under the cross-hair, the take
# speaks the colour taken, Esc that the pick was cancelled.
key Up Up
mark_spoken
key ctrl+p
expect_spoken "Pick a colour from the screen"
for nudge in Right Down; do
    mark_spoken
    press_and_pick $nudge
    expect_spoken_line "$(preview_words)"
done
mark_spoken
taken=$(preview_words)
key Return
expect_spoken_line "Picked $taken"
mark_spoken
key ctrl+p
expect_spoken "Pick a colour from the screen"
key Escape
expect_spoken_line "Pick cancelled"

key Escape
expect_exit 0
