#!/usr/bin/env bash
# Picking from the keyboard alone, with real keys: the focused toolbar takes
# Space and shows no focus mark before the first navigation key; Tab reaches
# bar 0, whose focus mark then shows; Down, Page Down and End pick along it,
# one device row, a tenth of the bar, the bottom row, as a hover there would;
# Space keeps the pick in the selected-colour swatch. Run at the scale factor
# in QT_SCALE_FACTOR.
source "$(dirname "$0")/lib.sh"
start_x
start_app

GAP_X=82; GAP_Y=100            # the control's surface between bars 0 and 1
SIDEBAR_X=430; SIDEBAR_Y=240   # the sidebar's button-face background

# Bar 0's client area in device pixels of the window: 43 x 243 logical
# pixels from (37, 5).
BAR_X=$((37 * SCALE + 43 * SCALE / 2))
BAR_TOP=$((5 * SCALE))
BAR_ROWS=$((243 * SCALE))

# Whether Ctrl+C copies the current pick as the text given.
copies() {
    local copied
    xdotool key --clearmodifiers ctrl+c
    copied=$(xclip -o -selection clipboard 2>/dev/null || true)
    WAIT_DETAIL="the current pick is $copied"
    [ "$copied" = "$1" ]
}

# After a key, the preview, and the pick the status line describes, are the
# colour of bar 0's device row.
expect_pick_at_row() {
    local row=$1 what=$2 under
    under=$(pixel_device "$BAR_X" $((BAR_TOP + row)))
    await_pixel $PREVIEW_X $PREVIEW_Y "$under" "preview after $what (row $row)"
    wait_for 10 "$what: Ctrl+C did not copy #$under, the colour row $row shows" copies "#$under"
}

# The window gets the keyboard; its first control, the toolbar, the focus.
screenshot "keyboard-$PERCENT-before"
point_at 200 120
xdotool windowfocus --sync "$WINDOW"
window_colour=$(pixel $GAP_X $GAP_Y)
xdotool key --clearmodifiers space
await_pixel $GAP_X $GAP_Y "$(pixel $SIDEBAR_X $SIDEBAR_Y)" "background after Space on the toolbar"
xdotool key --clearmodifiers space
await_pixel $GAP_X $GAP_Y "$window_colour" "background after Space again"
screenshot "keyboard-$PERCENT-focused-unmarked"
before=$(pixel $PREVIEW_X $PREVIEW_Y)
# Pointer moves picked; compare all but the preview and status line.
region="$((370 * SCALE))x$((250 * SCALE))+0+0"
# Named by scale: the runs at other scales may be writing theirs meanwhile.
for shot in "keyboard-$PERCENT-before" "keyboard-$PERCENT-focused-unmarked"; do
    convert "$SHOTS/$shot.png" -crop "$region" +repage "$SHOTS/$shot-bars.png"
done
differing=$(compare -metric AE "$SHOTS/keyboard-$PERCENT-before-bars.png" \
    "$SHOTS/keyboard-$PERCENT-focused-unmarked-bars.png" null: 2>&1 || true)
[ "$differing" = "0" ] || fail "a focus mark shows before any navigation key ($differing pixels differ)"

xdotool key --clearmodifiers Tab
wait_for 10 "no focus mark around bar 0 after Tab" pixel_is_not 35 100 "$window_colour"

xdotool key --clearmodifiers Down
expect_pick_at_row 1 "Down"
xdotool key --clearmodifiers Next
expect_pick_at_row $((1 + BAR_ROWS / 10)) "Page Down"
xdotool key --clearmodifiers End
expect_pick_at_row $((BAR_ROWS - 1)) "End"
screenshot "keyboard-scale-$SCALE"

kept=$(pixel $PREVIEW_X $PREVIEW_Y)
[ "$kept" != "$before" ] || fail "the keyboard picks left the preview as it was"
xdotool key --clearmodifiers space
await_pixel $SWATCH_X $SWATCH_Y "$kept" "selected colour after Space on bar 0"

xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_keyboard (scale $SCALE): passed"
