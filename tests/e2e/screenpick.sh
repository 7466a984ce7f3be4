# Helpers for the screen-pick tests, sourced after lib.sh: another program
# (pickcells.cpp) showing one-device-pixel cells of known colours, the
# cross-hair overlay, the magnifier beside it and the clipboard.
PICKCELLS=${PICKCELLS:?PICKCELLS must name the cells program}
OVERLAY_NAME="Pick a colour from the screen"
REST_X=300; REST_Y=264 # on the status line, where nothing is picked

# Starts the cells program, once the window manager has taken on the
# palette's window: one that has only just started may never map a window.
# CX CY: the root position of its cell (0, 0).
start_cells() {
    "$PICKCELLS" 2>"$XDG_RUNTIME_DIR/cells.stderr" &
    HELPER_PIDS+=($!)
    CELLS_PID=$!
    wait_for 20 "the cells program showed no window" cells_shown
    probe origin "$CELLS_WINDOW"
    read -r CX CY <<<"$REPLY"
}
cells_shown() {
    kill -0 "$CELLS_PID" 2>/dev/null ||
        fail "the cells program ended: $(cat "$XDG_RUNTIME_DIR/cells.stderr")"
    probe find Pick cells
    WAIT_DETAIL="its window: $REPLY"
    [ "$REPLY" != none ] || return 1
    CELLS_WINDOW=$REPLY
    probe state "$CELLS_WINDOW"
    WAIT_DETAIL="its window $CELLS_WINDOW is $REPLY"
    [ "$REPLY" = viewable ]
}

# The colour of cell (x, y), RRGGBB.
cell() {
    printf '%02X%02X99' $((4 * $1 + 1)) $((4 * $2 + 2))
}

# The magnifier stands below right of the hot spot; MX MY: the middle of its
# centre block, device pixels from the hot spot.
BLOCK=$(((8 * SCALE_MILLI + 500) / 1000))
MAGNIFIER_HEIGHT=$((11 * BLOCK + 1 + (18 * SCALE_MILLI + 500) / 1000))
GAP=$((6 + MAGNIFIER_HEIGHT / 8))
MX=$((GAP + 1 + 5 * BLOCK + (BLOCK - 1) / 2)); MY=$MX

clipboard() {
    xclip -o -selection clipboard 2>/dev/null || true
}
clipboard_is() {
    WAIT_DETAIL="it holds '$(clipboard)'"
    [ "$(clipboard)" = "$1" ]
}
preview_is() {
    WAIT_DETAIL="the preview shows $(pixel $PREVIEW_X $PREVIEW_Y)"
    [ "$(pixel $PREVIEW_X $PREVIEW_Y)" = "$1" ]
}

# OVERLAYS: how many cross-hair overlays are on screen.
overlays_counted() {
    probe viewable "$OVERLAY_NAME"
    OVERLAYS=$REPLY
    WAIT_DETAIL="$OVERLAYS overlay(s) on screen"
}
overlay_shown() {
    overlays_counted
    [ "$OVERLAYS" -gt 0 ]
}
overlay_gone() {
    overlays_counted
    [ "$OVERLAYS" -eq 0 ]
}

# A click on the status line, where it does nothing else, makes the palette's
# window the active one again under a window manager.
start_pick() {
    point_at $REST_X $REST_Y
    xdotool click 1
    xdotool key --clearmodifiers ctrl+p
    wait_for 10 "Ctrl+P showed no cross-hair over the screen" overlay_shown
}

# Points the hot spot at cell ($1, $2) and waits until the magnifier's centre
# shows it.
magnifier_shows() {
    local x=$((CX + $1)) y=$((CY + $2)) seen
    probe pixels $((x + MX)) $((y + MY))
    seen=$REPLY
    WAIT_DETAIL="its centre shows $seen over cell ($1, $2), expected $(cell "$1" "$2")"
    [ "$seen" = "$(cell "$1" "$2")" ]
}
point_at_cell() {
    POINTER=""
    xdotool mousemove --sync $((CX + $1)) $((CY + $2))
    wait_for 5 "the magnifier did not follow the pointer to cell ($1, $2)" magnifier_shows "$1" "$2"
    # The palette's window stays live above the still screen.
    wait_for 5 "the preview did not follow the pointer to cell ($1, $2)" preview_is "$(cell "$1" "$2")"
}
