# Checks shared by the picking tests, sourced after lib.sh or waylandlib.sh
# (whose input verbs they use: point_into_device, button, double_click, key);
# each works at the scale use_scale last set, in the window where start_app or
# client_geometry last found it.

# The preview swatch's device pixel: PREVIEW_DX, PREVIEW_DY.
preview_device() {
    to_device $PREVIEW_X $PREVIEW_Y
    PREVIEW_DX=$DX PREVIEW_DY=$DY
}

# preview_shows EXPECTED PREVIOUS: the preview has taken EXPECTED or at least
# moved on from PREVIOUS.
preview_shows() {
    pixels_device $PREVIEW_DX $PREVIEW_DY
    [ "$REPLY" = "$1" ] || [ "$REPLY" != "$2" ]
}

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

# Hovering a bar shows the very pixel under the pointer in the preview, at
# odd and even device rows and columns near both ends and in the middle of
# every bar. Consecutive points lie on different bars, so the right colour
# always differs from the one before.
check_hover_exact() {
    local what=${1:-} top bottom middle rows y bar x under preview points=0
    # The bars' client area spans logical rows 5 to 247.
    top=$(((5 * SCALE_MILLI + 999) / 1000))
    bottom=$(((248 * SCALE_MILLI) / 1000 - 1))
    middle=$(device 126)
    rows=($((top + 2)) $((top + 3)) $middle $((middle + 1)) $((bottom - 4)) $((bottom - 3)))
    preview_device
    # First the last bar's middle, so that the first point's colour differs
    # from the one before.
    POINTER=""
    preview=$(hover_pick $(($(bar_x "${BARS_IN_REACH[-1]}") + 1)) 126)
    for y in "${rows[@]}"; do
        for bar in "${BARS_IN_REACH[@]}"; do
            # Odd and even device columns in turn, all well inside the bar.
            x=$(($(device $((BAR_LEFTS[bar] + 22))) + bar % 2))
            point_into_device $x $y
            pixels_device $x $y
            under=$REPLY
            # A wrong answer may repeat the previous one: give it a second.
            poll 1 preview_shows "$under" "$preview" || true
            preview=$REPLY
            points=$((points + 1))
            [ "$preview" = "$under" ] ||
                problem "${what}bar $bar, client device pixel ($x,$y): the preview shows $preview, not $under under the pointer but $(whose_colour "$preview" $x $y)"
        done
    done
    fail_on_problems "${what}${#PROBLEMS[@]} of $points points show another colour than the pixel under the pointer"
}

# A bar dragged onto the selected-colour swatch leaves its colour there, a
# drop elsewhere changes nothing, and a double-click on the swatch reads its
# colour back into the preview.
check_drag_and_read_back() {
    local what=${1:-} picked first
    first=$(bar_x "${BARS_IN_REACH[0]}")
    # Drag the third bar onto the selected-colour swatch.
    picked=$(hover_pick "$(bar_x "${BARS_IN_REACH[2]}")" 60)
    button press left
    point_at 300 60
    point_at $SWATCH_X $SWATCH_Y
    button release left
    await_pixel $SWATCH_X $SWATCH_Y "$picked" "${what}selected colour after the drop"
    expect_pixel $PREVIEW_X $PREVIEW_Y "$picked" "${what}preview unchanged by the drag"

    # A drag released over the preview changes nothing.
    point_at $first 200
    button press left
    point_at $PREVIEW_X $PREVIEW_Y
    button release left
    input_barrier
    expect_pixel $SWATCH_X $SWATCH_Y "$picked" "${what}selected colour after a drop elsewhere"

    # Double-click the swatch: its colour comes back into the preview.
    hover_pick $first 30 >/dev/null
    point_at $SWATCH_X $SWATCH_Y
    double_click
    await_pixel $PREVIEW_X $PREVIEW_Y "$picked" "${what}preview after the double-click"
}

# The bottom and top device rows of a bar picked by End and Home on it, the
# window focused by a click.
check_keyboard_pick() {
    local what=${1:-} x bottom top
    x=$(bar_x "${BARS_IN_REACH[0]}")
    POINTER=""
    point_at $x 126
    button click left
    wait_for 5 "${what}the window did not take the focus" window_focused
    x=$(device $x)
    bottom=$(((248 * 2 * SCALE_MILLI / 1000 + 1) / 2 - 1))
    top=$(((5 * 2 * SCALE_MILLI / 1000 + 1) / 2))
    key End
    wait_for 5 "${what}End did not pick the bar's bottom device row" \
        pixel_is $PREVIEW_X $PREVIEW_Y "$(pixel_device $x $bottom)"
    key Home
    wait_for 5 "${what}Home did not pick the bar's top device row" \
        pixel_is $PREVIEW_X $PREVIEW_Y "$(pixel_device $x $top)"
}

# What bars 0 and 6 show down their middle, device row by device row: BARS,
# a digest.
bar_columns() {
    local bar x y points="" bottom
    bottom=$(((248 * SCALE_MILLI) / 1000))
    for bar in 0 6; do
        x=$(device $((BAR_LEFTS[bar] + 22)))
        for ((y = $(device 5); y < bottom; y += 1)); do
            points+=" $x $y"
        done
    done
    pixels_device $points
    BARS=$(md5sum <<<"$REPLY")
}
