#!/usr/bin/env bash
# Hovering a bar with the real pointer shows the very pixel under the pointer
# in the preview swatch, at every device pixel, whatever the scale factor;
# dragging a bar onto the selected-colour swatch leaves the colour there;
# double-clicking the swatch reads it back. Run at the scale factor in
# QT_SCALE_FACTOR.
source "$(dirname "$0")/lib.sh"
source "$E2E_DIR/pickchecks.sh"
start_x
start_app
check_hover_exact

# Bar 0 half-way up: the pure red end of its ramp.
preview_is_red() {
    pixels_device $PREVIEW_DX $PREVIEW_DY
    WAIT_DETAIL=$REPLY
    case $REPLY in FF0[0-3]0[0-3] | F[C-F]0000) ;; *) return 1 ;; esac
}
point_at 57 126
wait_for 2 "bar 0 half-way up is not red" preview_is_red
screenshot "pick-scale-$PERCENT${WM:+-$WM}"

check_drag_and_read_back

xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_pick at $PERCENT %${WM:+ under $WM}: passed"
