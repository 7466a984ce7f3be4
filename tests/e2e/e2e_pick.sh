#!/usr/bin/env bash
# Hovering a bar with the real pointer shows the very pixel under the pointer
# in the preview swatch, at every device pixel, whatever the scale factor;
# dragging a bar onto the selected-colour swatch leaves the colour there;
# double-clicking the swatch reads it back. Run at the scale factor in
# QT_SCALE_FACTOR.
source "$(dirname "$0")/lib.sh"
start_x
start_app

# Device rows of the bars' client area, which spans logical rows 5 to 247:
# two pairs (one odd, one even row) a few rows inside each end, one pair in
# the middle. Consecutive points lie on different bars, so the right colour
# always differs from the one before.
top=$(((5 * SCALE_MILLI + 999) / 1000))
bottom=$(((248 * SCALE_MILLI) / 1000 - 1))
middle=$(device 126)
rows=($((top + 2)) $((top + 3)) $middle $((middle + 1)) $((bottom - 4)) $((bottom - 3)))

to_device $PREVIEW_X $PREVIEW_Y
preview_x=$DX preview_y=$DY

preview_changed() {
    pixels_device $preview_x $preview_y
    [ "$REPLY" != "$1" ]
}

# preview_shows EXPECTED PREVIOUS: the preview has taken EXPECTED or at least
# moved on from PREVIOUS.
preview_shows() {
    pixels_device $preview_x $preview_y
    [ "$REPLY" = "$1" ] || [ "$REPLY" != "$2" ]
}

# First a grey from bar 6: the white the preview starts with is also the
# colour of the bars' top rows.
point_at 354 126
wait_for 3 "hovering bar 6 left the preview white" preview_changed FFFFFF
preview=$REPLY

# The pixel a wrong preview matches, for the failure message.
whose_colour() {
    local colour=$1 x=$2 y=$3 offset
    for offset in -1 1 -2 2; do
        pixels_device $x $((y + offset))
        if [ "$REPLY" = "$colour" ]; then
            echo "the pixel ${offset#-} device row$([ ${offset#-} -eq 1 ] || echo s) $([ $offset -lt 0 ] && echo above || echo below) it"
            return
        fi
    done
    echo "no pixel within two device rows of it"
}

points=0
for y in "${rows[@]}"; do
    for bar in 0 1 2 3 4 5 6; do
        # Odd and even device columns in turn, all well inside the bar.
        x=$(($(device $((BAR_LEFTS[bar] + 22))) + bar % 2))
        point_at_device $x $y
        pixels_device $x $y
        under=$REPLY
        # A wrong answer may repeat the previous one: give it a second.
        poll 1 preview_shows "$under" "$preview" || true
        preview=$REPLY
        points=$((points + 1))
        [ "$preview" = "$under" ] ||
            problem "bar $bar, client device pixel ($x,$y): the preview shows $preview, not $under under the pointer but $(whose_colour "$preview" $x $y)"
    done
done
fail_on_problems "${#PROBLEMS[@]} of $points points show another colour than the pixel under the pointer"

# Bar 0 half-way up: the pure red end of its ramp.
preview_is_red() {
    pixels_device $preview_x $preview_y
    WAIT_DETAIL=$REPLY
    case $REPLY in FF0[0-3]0[0-3] | F[C-F]0000) ;; *) return 1 ;; esac
}
point_at 57 126
wait_for 2 "bar 0 half-way up is not red" preview_is_red
screenshot "pick-scale-$PERCENT${WM:+-$WM}"

# Drag bar 2 onto the selected-colour swatch.
picked=$(hover_pick 153 60)
xdotool mousedown 1
point_at 300 60
point_at $SWATCH_X $SWATCH_Y
xdotool mouseup 1
await_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after the drop"
expect_pixel $PREVIEW_X $PREVIEW_Y "$picked" "preview unchanged by the drag"

# A drag released over the preview changes nothing.
point_at 57 200
xdotool mousedown 1
point_at $PREVIEW_X $PREVIEW_Y
xdotool mouseup 1
input_barrier
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drop elsewhere"

# Double-click the swatch: its colour comes back into the preview.
hover_pick 57 30 >/dev/null
point_at $SWATCH_X $SWATCH_Y
xdotool click --repeat 2 --delay 50 1
await_pixel $PREVIEW_X $PREVIEW_Y "$picked" "preview after the double-click"

xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_pick at $PERCENT %${WM:+ under $WM}: passed"
