#!/usr/bin/env bash
# The screen pick on Wayland through the real desktop portal (xdg-desktop-portal
# with xdg-desktop-portal-wlr, under sway): Ctrl+P, then a click on a cell of
# another Wayland program, gives exactly that cell's colour in the preview,
# the status line and Ctrl+C; Esc in the portal's picker changes nothing; a
# portal that hangs leaves the program responsive, and a later pick works.
# Under XWayland (Qt on xcb) the pick goes through the portal too, and reads
# the Wayland window, not the black of an X screen that shows none. At output
# scale 2 this portal answers every pick with an error: the program then
# changes nothing.
source "$(dirname "$0")/waylandlib.sh"
start_sway xwayland
start_portal

start_cells 20 320
start_app
wait_for 10 "the cells are not on the screen where they were put" cells_placed

status_text() {
    probe text $((WX + 2)) $((WY + 258)) 300 12
    STATUS=${REPLY#* }
}
focus_window
pick_cell 11 7
await_pixel $PREVIEW_X $PREVIEW_Y "$(cell_colour 11 7)" "preview after a portal pick of cell (11, 7)"
key ctrl+c
wait_for 10 "Ctrl+C after the portal pick" clipboard_is text/plain "#$(cell_colour 11 7)"

# The status line after a portal pick says exactly what it says on a hover
# over the same colour, pixel for pixel: the selected-colour swatch takes a
# bar's colour by a drag, the preview moves on to another bar, and the portal
# picks the swatch (where the pointer is left then, and a hover picks nothing).
kept=$(hover_pick 105 90)
status_text
kept_status=$STATUS
button press left
point_at 300 90
point_at $SWATCH_X $SWATCH_Y
button release left
await_pixel $SWATCH_X $SWATCH_Y "$kept" "selected colour after the drop"
hover_pick 153 60 >/dev/null
status_text
[ "$STATUS" != "$kept_status" ] || fail "the status line did not change between two bars"
key ctrl+p
wait_for 10 "Ctrl+P showed no portal picker" picker_shown
point_at $SWATCH_X $SWATCH_Y
button click left
wait_for 10 "the portal's picker did not end at a click" picker_gone
await_pixel $PREVIEW_X $PREVIEW_Y "$kept" "preview after a portal pick of the selected-colour swatch"
status_says_kept() {
    status_text
    [ "$STATUS" = "$kept_status" ]
}
wait_for 10 "the status line after a portal pick of #$kept is not the one a hover over that colour shows" status_says_kept

# A portal that hangs: the pick's call is never answered, the window goes on
# serving input, and once a portal answers again the next Ctrl+P gives up the
# forgotten pick and asks anew.
kill -STOP "$PORTAL"
key ctrl+p
hover_pick 153 60 >/dev/null
kill_portal_front
start_portal_front
key ctrl+p
wait_for 10 "Ctrl+P showed no portal picker once the portal answered again" picker_shown
probe move $((CELL_LEFT + 20)) $((CELL_TOP + 30))
button click left
wait_for 10 "the portal's picker did not end at a click" picker_gone
await_pixel $PREVIEW_X $PREVIEW_Y "$(cell_colour 20 30)" "preview after the portal came back"

key Escape
expect_exit 0 30

# XWayland: Qt on xcb, on a Wayland session.
QT_QPA_PLATFORM=xcb start_app
focus_window
pick_cell 40 13
await_pixel $PREVIEW_X $PREVIEW_Y "$(cell_colour 40 13)" "preview after a portal pick under XWayland"
key ctrl+c
wait_for 10 "Ctrl+C after the pick under XWayland" clipboard_is text/plain "#$(cell_colour 40 13)"

# Esc in the portal's picker changes nothing, twice in a row. The second
# Ctrl+P may come before the portal has answered the first pick (it still
# runs grim once slurp has ended): it gives that pick up and asks anew.
# The picker's veil lightens the preview as it lightens everything else.
shown=$(pixel $PREVIEW_X $PREVIEW_Y) veiled=""
for _ in 1 2; do
    key ctrl+p
    wait_for 10 "Ctrl+P showed no portal picker" picker_shown
    [ -n "$veiled" ] ||
        veiled=$(pixel $PREVIEW_X $PREVIEW_Y)
    expect_pixel $PREVIEW_X $PREVIEW_Y "$veiled" "preview, under the picker's veil, after Esc in the portal's picker"
    key Escape
    wait_for 10 "Esc did not end the portal's picker" picker_gone
done
await_pixel $PREVIEW_X $PREVIEW_Y "$shown" "preview after Esc in the portal's picker"
key ctrl+c
wait_for 10 "Ctrl+C after Esc in the portal's picker" clipboard_is text/plain "#$shown"

# Output scale 2: xdg-desktop-portal-wlr asks grim for one logical pixel,
# gets 2 x 2 device pixels, and answers an error ("Invalid image format or
# size"); the program then changes nothing. The cause is the portal's.
swaymsg output HEADLESS-1 scale 2 >/dev/null
use_scale 2
probe scale 2
wait_for 10 "the window did not follow the scale" window_placed
shown=$(pixel $PREVIEW_X $PREVIEW_Y)
echo "at output scale 2, grim reads one logical pixel as $(grim -g "0,0 1x1" -t ppm - | head -c 7 | tr '\n' ' ')"
target=$(pixel_device 100 100)
log_mark=$(wc -l <"$XDG_RUNTIME_DIR/portal-wlr.log")
key ctrl+p
wait_for 10 "Ctrl+P showed no portal picker" picker_shown
veiled=$(pixel $PREVIEW_X $PREVIEW_Y)
probe move $((WX + 100)) $((WY + 100))
button click left
wait_for 10 "the portal's picker did not end at a click" picker_gone
portal_refused() {
    WAIT_DETAIL=$(tail -n 2 "$XDG_RUNTIME_DIR/portal-wlr.log")
    tail -n +$((log_mark + 1)) "$XDG_RUNTIME_DIR/portal-wlr.log" | grep -q "Invalid image format or size"
}
if poll 10 portal_refused; then
    echo "at output scale 2 the portal answered an error: $(tail -n +$((log_mark + 1)) "$XDG_RUNTIME_DIR/portal-wlr.log" | grep -m1 "Invalid image")"
    key ctrl+p
    wait_for 10 "no pick could be started after the refused one" picker_shown
    expect_pixel $PREVIEW_X $PREVIEW_Y "$veiled" "preview, under the picker's veil, after the refused pick"
    key Escape
    wait_for 10 "Esc did not end the portal's picker" picker_gone
    await_pixel $PREVIEW_X $PREVIEW_Y "$shown" "preview after the refused pick"
else
    await_pixel $PREVIEW_X $PREVIEW_Y "$target" "preview after a portal pick at output scale 2"
fi

key Escape
expect_exit 0 30
echo "e2e_wayland_portal: passed"
