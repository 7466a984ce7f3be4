# Helpers for the screen-pick tests, sourced after lib.sh: another program
# (pickcells.cpp) showing one-device-pixel cells of known colours, the
# cross-hair overlay, the magnifier beside it and the clipboard.
PICKCELLS=${PICKCELLS:?PICKCELLS must name the cells program}
OVERLAY_NAME="Pick a colour from the screen"
REST_X=300; REST_Y=264 # on the status line, where nothing is picked

# Starts the cells program, once the window manager has taken on the
# palette's window: one that has only just started may never map a window.
# Optional: its title and its logical position. CX CY: the root position of
# its cell (0, 0).
start_cells() {
    CELLS_TITLE=${1:-Pick cells}
    "$PICKCELLS" "$CELLS_TITLE" ${2:-20} ${3:-20} 2>"$XDG_RUNTIME_DIR/cells.stderr" &
    HELPER_PIDS+=($!)
    CELLS_PID=$!
    wait_for 20 "the cells program showed no window" cells_shown
    probe origin "$CELLS_WINDOW"
    read -r CX CY <<<"$REPLY"
}
cells_shown() {
    kill -0 "$CELLS_PID" 2>/dev/null ||
        fail "the cells program ended: $(cat "$XDG_RUNTIME_DIR/cells.stderr")"
    probe find "$CELLS_TITLE"
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

# The magnifier at the scale of the monitor under the hot spot: MAGNIFIER_SCALE
# where set, else the scale use_scale last set. BLOCK, its blocks' side;
# GAP, its distance from the hot spot; MX MY: the middle of its centre block,
# device pixels from the hot spot, where it stands below right of it; MXL: the
# same across, where it stands below left.
magnifier_geometry() {
    local milli=$SCALE_MILLI
    [ -z "${MAGNIFIER_SCALE:-}" ] ||
        milli=$(thousandths "$MAGNIFIER_SCALE")
    BLOCK=$(((8 * milli + 500) / 1000))
    local height=$((11 * BLOCK + 1 + (18 * milli + 500) / 1000))
    local width=$((11 * BLOCK + 1))
    GAP=$((6 + height / 8))
    MX=$((GAP + 1 + 5 * BLOCK + (BLOCK - 1) / 2)); MY=$MX
    MXL=$((-GAP - width + 1 + 1 + 5 * BLOCK + (BLOCK - 1) / 2))
}
magnifier_geometry

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

pointer_free() {
    probe pointer
    WAIT_DETAIL="the pointer is $REPLY"
    [ "$REPLY" = free ]
}
keyboard_free() {
    probe keyboard
    WAIT_DETAIL="the keyboard is $REPLY"
    [ "$REPLY" = free ]
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

# magnifier_shows X Y [left]: whether the magnifier's centre shows cell
# (X, Y), the magnifier standing below right of it (or below left).
magnifier_shows() {
    local x=$((CX + $1)) y=$((CY + $2)) seen across
    magnifier_geometry
    across=$([ "${3:-}" = left ] && echo $MXL || echo $MX)
    probe pixels $((x + across)) $((y + MY))
    seen=$REPLY
    WAIT_DETAIL="its centre shows $seen over cell ($1, $2), expected $(cell "$1" "$2")"
    [ "$seen" = "$(cell "$1" "$2")" ]
}
# Points the hot spot at cell ($1, $2) and waits until the magnifier's centre
# and the preview show it.
point_at_cell() {
    POINTER=""
    xdotool mousemove --sync $((CX + $1)) $((CY + $2))
    wait_for 5 "the magnifier did not follow the pointer to cell ($1, $2)" magnifier_shows "$1" "$2"
    # The palette's window stays live above the still screen.
    wait_for 5 "the preview did not follow the pointer to cell ($1, $2)" preview_is "$(cell "$1" "$2")"
}
