#!/usr/bin/env bash
# Picking a colour anywhere on the screen (Ctrl+P): another program
# (tests/e2e/pickcells.cpp) shows one-device-pixel cells of known colours; the
# pointer is moved over them at odd and even device pixels and nudged with the
# arrow keys; the magnifier and the preview follow, and the colour taken by a
# click or Enter becomes the preview and what Ctrl+C copies. Esc and the right
# button cancel: preview, status line and current pick stay as they were, and
# the program keeps running until the main window's own Esc. What the
# magnifier once covered is read as the screen showed it.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/screenpick.sh"
start_x

start_app
start_cells

# The status line, device row by row through its text, as the screen shows it.
status_line() {
    local points="" x y dy
    for y in 261 264 267; do
        dy=$(device $y)
        for ((x = $(device 2); x < $(device 200); x += 1)); do
            points+=" $x $dy"
        done
    done
    pixels_device $points
    echo "$REPLY"
}

# Ends a pick by a click, Enter or Space on cell ($2, $3) and checks the
# preview and Ctrl+C.
expect_taken() {
    wait_for 5 "$1: the cross-hair stayed" overlay_gone
    wait_for 5 "$1: the preview does not show cell ($2, $3)" preview_is "$(cell "$2" "$3")"
    point_at $REST_X $REST_Y
    xdotool key --clearmodifiers ctrl+c
    wait_for 5 "$1: Ctrl+C did not copy cell ($2, $3)" clipboard_is "#$(cell "$2" "$3")"
}

# A click at an even and at an odd device pixel.
for spot in "10 12" "23 31"; do
    read -r x y <<<"$spot"
    start_pick
    point_at_cell "$x" "$y"
    xdotool click 1
    expect_taken "a click" "$x" "$y"
done

# Arrows move the hot spot by one device pixel, Shift+arrows by ten.
start_pick
point_at_cell 5 6
xdotool key --clearmodifiers Right
wait_for 5 "Right did not move the magnifier" magnifier_shows 6 6
xdotool key Down
wait_for 5 "Down did not move the magnifier" magnifier_shows 6 7
xdotool key shift+Right
wait_for 5 "Shift+Right did not move the magnifier by ten" magnifier_shows 16 7
xdotool key shift+Down
wait_for 5 "Shift+Down did not move the magnifier by ten" magnifier_shows 16 17
xdotool key Left Up
wait_for 5 "Left and Up did not move the magnifier back" magnifier_shows 15 16
xdotool key Return
expect_taken "Enter after nudging" 15 16

# The magnifier drawn over cells does not change what is read there.
start_pick
point_at_cell 2 3
point_at_cell $((2 + GAP + 4)) $((3 + GAP + 4))
xdotool key space
expect_taken "Space where the magnifier was" $((2 + GAP + 4)) $((3 + GAP + 4))

# Cancelled, by Esc or by the right button: everything stays as it was.
for cancel in "key Escape" "click 3"; do
    before_status=$(status_line)
    before_preview=$(pixel $PREVIEW_X $PREVIEW_Y)
    start_pick
    point_at_cell 40 41
    xdotool $cancel
    wait_for 5 "$cancel did not end the pick" overlay_gone
    kill -0 "$APP_PID" || fail "$cancel during a pick ended the program"
    [ "$(pixel $PREVIEW_X $PREVIEW_Y)" = "$before_preview" ] ||
        fail "$cancel: the preview changed from $before_preview"
    [ "$(status_line)" = "$before_status" ] || fail "$cancel: the status line changed"
    echo "something else" | xclip -i -selection clipboard
    point_at $REST_X $REST_Y
    xdotool key --clearmodifiers ctrl+c
    wait_for 5 "$cancel: Ctrl+C no longer copies the pick before" clipboard_is "#$before_preview"
done

# On X screen 1 of a server of two (SECOND_X_SCREEN), the pointer moved to
# screen 0 is over none of this screen's pixels, even where its coordinates
# are those of a cell here: Enter there ends the pick and takes nothing.
if [ -n "${SECOND_X_SCREEN:-}" ]; then
    before_preview=$(pixel $PREVIEW_X $PREVIEW_Y)
    start_pick
    point_at_cell 3 4
    xdotool mousemove --screen 0 --sync $((CX + 30)) $((CY + 31))
    xdotool key Return
    wait_for 5 "Enter with the pointer on the other X screen did not end the pick" overlay_gone
    wait_for 5 "Enter with the pointer on the other X screen took a colour" \
        preview_is "$before_preview"
    pointer_free || fail "the pick left the pointer held: $WAIT_DETAIL"
    xdotool mousemove --screen 1 --sync $REST_X $REST_Y
    start_pick
    point_at_cell 30 31
    xdotool click 1
    expect_taken "a click back on this X screen" 30 31
fi

# With no pick running, Esc closes the program as ever.
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_screenpick: passed"
