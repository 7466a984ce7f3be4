#!/usr/bin/env bash
# Hovering a bar with the real pointer shows the pixel under it in the preview
# swatch; dragging a bar onto the selected-colour swatch leaves the colour
# there; double-clicking the swatch reads it back. Run at the scale factor in
# QT_SCALE_FACTOR.
source "$(dirname "$0")/lib.sh"
start_x
start_app

PREVIEW_X=394; PREVIEW_Y=195   # inside the preview swatch, clear of the icon
SWATCH_X=429; SWATCH_Y=61      # centre of the selected-colour swatch

for row in 6 126 246; do
    for bar_x in 57 105 153 205 253 301 353; do
        point_at $bar_x $row
        under=$(pixel $bar_x $row)
        for _ in $(seq 20); do
            [ "$(pixel $PREVIEW_X $PREVIEW_Y)" = "$under" ] && break
            sleep 0.05
        done
        expect_pixel $PREVIEW_X $PREVIEW_Y "$under" "preview after hovering ($bar_x,$row)"
    done
done

# Bar 0 half-way up: the pure red end of its ramp.
point_at 57 126
sleep 0.2
case $(pixel $PREVIEW_X $PREVIEW_Y) in
    FF0[0-3]0[0-3] | F[C-F]0000) ;;
    *) fail "bar 0 half-way up is not red: $(pixel $PREVIEW_X $PREVIEW_Y)" ;;
esac
screenshot "pick-scale-$SCALE"

# Drag bar 2 onto the selected-colour swatch.
point_at 153 60
picked=$(pixel 153 60)
xdotool mousedown 1
xdotool mousemove --sync $((WX + 300 * SCALE)) $((WY + 60 * SCALE))
xdotool mousemove --sync $((WX + SWATCH_X * SCALE)) $((WY + SWATCH_Y * SCALE))
xdotool mouseup 1
sleep 0.2
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after the drop"
expect_pixel $PREVIEW_X $PREVIEW_Y "$picked" "preview unchanged by the drag"

# A drag released over the preview changes nothing.
point_at 57 200
xdotool mousedown 1
xdotool mousemove --sync $((WX + PREVIEW_X * SCALE)) $((WY + PREVIEW_Y * SCALE))
xdotool mouseup 1
sleep 0.2
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drop elsewhere"

# Double-click the swatch: its colour comes back into the preview.
point_at 57 30
sleep 0.2
point_at $SWATCH_X $SWATCH_Y
xdotool click --repeat 2 --delay 50 1
sleep 0.2
expect_pixel $PREVIEW_X $PREVIEW_Y "$picked" "preview after the double-click"

xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_pick (scale $SCALE): passed"
