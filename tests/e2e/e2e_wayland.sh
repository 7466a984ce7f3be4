#!/usr/bin/env bash
# The whole program on a real Wayland compositor (sway, headless), with real
# input, at the output scale OUTPUT_SCALE: the start-up paint with its wait
# text; hovering, exact to the device pixel under the hot spot wherever it
# lies between pixels; moves with the right button held; the copy menu on
# its release and Ctrl+C, read back with wl-paste; a drag to the swatch and
# the double-click that reads it back; picking from the keyboard; the
# toolbar; the about box on Shift+F1, closed by Esc or Enter; Esc ending the
# program.
#
# What Wayland does not let a program do is said here, not skipped: a client
# cannot place its own window (xdg-shell has no position), so the program's
# centring does nothing and the compositor puts the window where it likes;
# the test moves it with swaymsg.
source "$(dirname "$0")/waylandlib.sh"
source "$E2E_DIR/pickchecks.sh"
start_sway

GAP_X=82; GAP_Y=100          # the control's surface between bars 0 and 1
SIDEBAR_X=430; SIDEBAR_Y=240 # the sidebar's button-face background
TITLE_X=392; TITLE_Y=8       # inside the "Color Picker" title
FACE=808080; MARKED=7F7F7F   # a toolbar button's face, and the same inverted

# Start-up, slowed down (every poll of the program delayed) so that the paint
# takes seconds on any machine: the window is on screen with the bars still
# being painted and the wait text in the status line; once they are complete
# the status line says so instead.
start_slowed
wait_for 60 "the program showed no window" window_exists
echo "the compositor placed the window at ($(window_field '"%d,%d" % (w["rect"]["x"], w["rect"]["y"])')); a Wayland client cannot centre it"
swaymsg "[con_id=$WINDOW] move absolute position $PLACE_X $PLACE_Y" >/dev/null
wait_for 10 "the window was not placed" window_placed
status_text() {
    probe text $((WX + 2 * SCALE_MILLI / 1000)) $((WY + 258 * SCALE_MILLI / 1000)) \
        $((300 * SCALE_MILLI / 1000)) $((12 * SCALE_MILLI / 1000))
    read -r DARK DIGEST <<<"$REPLY"
}
paint_under_way() {
    status_text
    ! bars_painted && [ "$DARK" -gt 20 ]
}
wait_for 60 "no frame showed the bars part-painted with text in the status line" paint_under_way
screenshot "wayland-$PERCENT-painting"
waiting=$DIGEST
release_slowed
wait_for 30 "the bars were not painted" bars_painted
status_changed() {
    status_text
    [ "$DIGEST" != "$waiting" ] && [ "$DARK" -gt 20 ]
}
wait_for 10 "the status line kept the wait text after the paint" status_changed
screenshot "wayland-$PERCENT"
bottom=$(((248 * SCALE_MILLI) / 1000 - 1))

focus_window
# The keyboard, the window focused: Tab from the toolbar to bar 0, Down picks its next device
# row, Space keeps the pick.
window_colour=$(pixel $GAP_X $GAP_Y)
# The window was activated while the control was disabled for the paint, so
# no control may have the focus yet: then the first Tab gives it to the
# toolbar.
toolbar_or_bar_marked() {
    pixel_is_not 32 50 "$window_colour" || pixel_is_not 35 100 "$window_colour"
}
key Tab
wait_for 10 "no focus mark around the toolbar or bar 0 after Tab" toolbar_or_bar_marked
if pixel_is 35 100 "$window_colour"; then
    echo "the first Tab gave the focus to the toolbar: no control had it"
    key Tab
fi
wait_for 10 "no focus mark around bar 0 after Tab" pixel_is_not 35 100 "$window_colour"
key End Up
bar_x=$(device 58)
under=$(pixel_device $bar_x $((bottom - 1)))
await_pixel $PREVIEW_X $PREVIEW_Y "$under" "preview after End and Up on bar 0"
key space
await_pixel $SWATCH_X $SWATCH_Y "$under" "selected colour after Space on bar 0"


# Hover: the preview shows the pixel grim reads under the hot spot, wherever
# it lies in a device pixel.
check_hover_exact

# Moves with the right button held pick as any move does; its release opens
# the copy menu there. MENU_X, MENU_Y: where the button comes up; the menu
# then covers the point a little right of and below it.
MENU_X=190 MENU_Y=200
menu_open() {
    pixel_is_not $((MENU_X + 25)) $((MENU_Y + 30)) "$MENU_BACKDROP"
}
menu_closed() {
    pixel_is $((MENU_X + 25)) $((MENU_Y + 30)) "$MENU_BACKDROP"
}
# Opens the copy menu with the right button at (MENU_X, MENU_Y), chooses item
# $1 with the keys, and waits until it has closed.
choose_from_menu() {
    local keys=()
    for _ in $(seq "$1"); do keys+=(Down); done
    MENU_BACKDROP=$(pixel $((MENU_X + 25)) $((MENU_Y + 30)))
    button release right
    wait_for 10 "no copy menu opened on the right button's release" menu_open
    key "${keys[@]}" Return
    wait_for 10 "the menu stayed open after a choice" menu_closed
}
hover_pick 57 126 >/dev/null
button press right
picked=$(hover_pick $MENU_X $MENU_Y)
choose_from_menu 1
wait_for 10 "the menu's first item did not copy" clipboard_is text/plain "#$picked"
red=$((16#${picked:0:2})) green=$((16#${picked:2:2})) blue=$((16#${picked:4:2}))
button press right
choose_from_menu 2
wait_for 10 "the menu's second item did not copy" clipboard_is text/plain "rgb($red, $green, $blue)"

# Ctrl+C: the text and the colour. Qt's Wayland platform hands
# application/x-color on as the colour's name (#rrggbb), where X11 has four
# 16-bit channels.
picked=$(hover_pick 57 60)
key ctrl+c
wait_for 10 "Ctrl+C did not copy the text" clipboard_is text/plain "#$picked"
wait_for 10 "Ctrl+C did not copy the colour" clipboard_is application/x-color "#${picked,,}"

# Drag bar 2 onto the selected-colour swatch; double-click reads it back.
check_drag_and_read_back

# The toolbar.
face_colour=$(pixel $SIDEBAR_X $SIDEBAR_Y)
plain_title=$(pixel $TITLE_X $TITLE_Y)
point_at 16 16
button click left
await_pixel $GAP_X $GAP_Y "$face_colour" "background after the top button"
await_pixel 3 3 $MARKED "top button marked"
point_at 16 48
button click left
wait_for 10 "the title kept its plain background" pixel_is_not $TITLE_X $TITLE_Y "$plain_title"
screenshot "wayland-$PERCENT-both-styles"
button click left
point_at 16 16
button click left
await_pixel $GAP_X $GAP_Y "$window_colour" "background after a second click"
await_pixel $TITLE_X $TITLE_Y "$plain_title" "title after a second click"

# The about box on Shift+F1, modal: a hover over the window does not pick
# while it is open. Esc closes it, then Enter, and the window goes on.
about_field() {
    window_field "$1" "name=О программе"
}
about_open() {
    [ "$(about_field 'w["focused"]')" = True ]
}
about_closed() {
    [ "$(about_field 'w["id"]')" = none ] && window_focused
}
for closing in Escape Return; do
    shown=$(hover_pick 105 100)
    key shift+F1
    wait_for 10 "Shift+F1 opened no about box with the keyboard focus" about_open
    point_at 57 200
    point_at 57 201
    key $closing
    wait_for 10 "$closing did not close the about box" about_closed
    expect_pixel $PREVIEW_X $PREVIEW_Y "$shown" "a hover while the about box was open"
done
input_barrier

key Escape
expect_exit 0 30
echo "e2e_wayland at $PERCENT %: passed"
