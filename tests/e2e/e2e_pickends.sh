#!/usr/bin/env bash
# However a screen pick ends, it ends once: a double-click, keys typed ahead,
# Ctrl+P twice, Esc twice, a click and Ctrl+P at once, a pointer another
# program holds, the window closed mid-pick. After each, the program runs on
# (or has ended as asked), pointer and keyboard are free, and no cross-hair
# overlay is left on screen.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/screenpick.sh"
start_x
start_app
start_cells
MESSAGE_TITLE="Tarnwick - Kelvary" # a message box of the program

# After a row: no overlay is left, nothing holds pointer or keyboard, and
# the program has ended when the row says "ended"; otherwise it took the cell
# the row names ("took X Y") into the preview and what Ctrl+C copies, and
# still serves input.
expect_ended_cleanly() {
    local row=$1 outcome=${2:-}
    if [ "$outcome" != ended ] && app_ended; then
        fail "$row: the program ended: $(cat "$XDG_RUNTIME_DIR/stderr")"
    fi
    wait_for 5 "$row: an overlay is left on screen" overlay_gone
    wait_for 5 "$row: the pointer stays grabbed" pointer_free
    wait_for 5 "$row: the keyboard stays grabbed" keyboard_free
    if [ "$outcome" = ended ]; then
        expect_exit 0
    else
        if [ "$outcome" = took ]; then
            wait_for 5 "$row: the preview does not show the cell taken" preview_is "$(cell "$3" "$4")"
            point_at $REST_X $REST_Y
            xdotool key --clearmodifiers ctrl+c
            wait_for 5 "$row: Ctrl+C did not copy the cell taken" clipboard_is "#$(cell "$3" "$4")"
        fi
        # A hover answered proves the window still serves input.
        input_barrier
    fi
    echo "  $row: ended cleanly"
}

# A double-click takes the colour once; its second click is not a new take.
start_pick
point_at_cell 10 12
probe at_once click:1 click:1
expect_ended_cleanly "a double-click" took 10 12

# Enter then Esc typed at once: the take stands, and the Esc queued behind it
# neither cancels it nor closes the window.
start_pick
point_at_cell 23 31
probe at_once key:Return key:Escape
expect_ended_cleanly "Enter then Esc at once" took 23 31

# A click on a bar (a drag begun and dropped) and Ctrl+P at once, in a
# window that has the keyboard focus.
point_at 57 100
xdotool click 1
wait_for 5 "the palette's window did not take the focus" window_focused
probe at_once click:1 key:Control_L+p
wait_for 10 "a click then Ctrl+P: no cross-hair" overlay_shown
xdotool key Escape
expect_ended_cleanly "a click then Ctrl+P at once"

# Ctrl+P twice: one pick, which one Esc ends.
point_at $REST_X $REST_Y
xdotool click 1
probe at_once key:Control_L+p key:Control_L+p
wait_for 10 "Ctrl+P twice: no cross-hair" overlay_shown
overlays_counted
[ "$OVERLAYS" -eq 1 ] || fail "Ctrl+P twice: $OVERLAYS overlays on one screen"
xdotool key Escape
expect_ended_cleanly "Ctrl+P twice"

# Esc twice at once: the pick is cancelled, and the second Esc, typed while
# the pick still held the keyboard, does not close the window.
start_pick
probe at_once key:Escape key:Escape
expect_ended_cleanly "Esc twice at once"

# Another program holds the pointer: Ctrl+P says so, and no half pick runs
# on the keyboard alone.
point_at $REST_X $REST_Y
xdotool click 1
probe hold_pointer
[ "$REPLY" = held ] || fail "the probe could not take the pointer: $REPLY"
xdotool key --clearmodifiers ctrl+p
refusal_shown() {
    probe viewable "$MESSAGE_TITLE"
    WAIT_DETAIL="$REPLY message box(es) on screen"
    [ "$REPLY" -eq 1 ]
}
wait_for 10 "a pointer held elsewhere: no message box said so" refusal_shown
overlays_counted
[ "$OVERLAYS" -eq 0 ] || fail "a pointer held elsewhere: the cross-hair showed all the same"
keyboard_free || fail "a pointer held elsewhere: the keyboard was taken for a half pick"
probe find "$MESSAGE_TITLE"
xdotool windowfocus --sync "$REPLY" key Return
refusal_gone() {
    ! refusal_shown
}
wait_for 10 "Enter did not close the message box" refusal_gone
probe release_pointer
expect_ended_cleanly "a pointer held elsewhere"

# The window closed during a pick ends the pick and the program.
start_pick
probe close "$WINDOW"
expect_ended_cleanly "the window closed during a pick" ended
echo "e2e_pickends: passed"
