#!/usr/bin/env bash
# Dragging a bar out of the window drops the current pick on another program
# (tests/e2e/droptarget.cpp) as application/x-color and #RRGGBB. Inside the
# window drops behave as they always did, also for a drag that went out and
# came back; a colour dragged in from the other program is refused.
source "$(dirname "$0")/lib.sh"
DROPTARGET=${DROPTARGET:?DROPTARGET must name the drop target program}
start_x
start_app

TARGET_X=800; TARGET_Y=300     # where the other program's window goes
DROPS=$(mktemp)

# Appended, so that the file can be emptied while the program writes to it.
"$DROPTARGET" >>"$DROPS" 2>&1 &
TARGET_PID=$!
trap 'kill $TARGET_PID 2>/dev/null; rm -f "$DROPS"; cleanup' EXIT
TARGET=$(xdotool search --sync --onlyvisible --name '^Drop target$' | head -n 1)
xdotool windowmove --sync "$TARGET" $TARGET_X $TARGET_Y

# Whether a screen point lies in the window's client area.
in_window() {
    [ "$1" -ge "$WX" ] && [ "$1" -lt $((WX + WW)) ] && [ "$2" -ge "$WY" ] && [ "$2" -lt $((WY + WH)) ]
}
# A drag handed to the desktop owns the XDND selection while it lasts, and
# holds the pointer until it ends.
desktop_drag_started() {
    probe owner XdndSelection
    [ "$REPLY" != none ]
}
pointer_free() {
    probe pointer
    [ "$REPLY" = free ]
}
target_saw_drag() {
    grep -q '^offered' "$DROPS"
}
target_left() {
    grep -q '^left' "$DROPS"
}

# Presses where the pointer is, moves through the given screen points, a
# little at each, and releases; the file of drops is emptied first. A drag
# outside the window goes on once the desktop has it; over the other program,
# once that program has seen it; the other program's own drag, once it has
# been seen over that program and then leaving it. Returns once the drag has
# ended.
drag_through() {
    local X Y SCREEN WINDOW foreign=""
    : >"$DROPS"
    probe disown XdndSelection
    eval "$(xdotool getmouselocation --shell)"
    xdotool mousedown 1
    if ! in_window "$X" "$Y"; then
        # The other program's drag: once it has begun, a move inside that
        # program shows it to the program itself, so that leaving is seen.
        foreign=1
        wait_for 10 "the other program started no drag" desktop_drag_started
        xdotool mousemove --sync $((X + 2)) $((Y + 2))
        wait_for 10 "the other program's drag never was over it" target_saw_drag
    fi
    while [ $# -gt 0 ]; do
        xdotool mousemove --sync "$1" "$2"
        xdotool mousemove --sync $(($1 + 1)) $(($2 + 1))
        if [ -n "$foreign" ]; then
            wait_for 10 "the other program's drag did not leave it" target_left
        elif ! in_window "$1" "$2"; then
            wait_for 10 "the drag did not leave the window" desktop_drag_started
        fi
        [ "$1 $2" != "$ON_TARGET" ] || wait_for 10 "the other program saw no drag" target_saw_drag
        shift 2
    done
    xdotool mouseup 1
    wait_for 10 "the drag did not end" pointer_free
}

OUTSIDE="$((WX + 300)) $((WY - 30))"
ON_TARGET="$((TARGET_X + 100)) $((TARGET_Y + 100))"
SWATCH="$((WX + SWATCH_X)) $((WY + SWATCH_Y))"

picked=$(hover_pick 57 126)
drag_through $OUTSIDE $ON_TARGET
dropped() {
    grep -q '^dropped' "$DROPS"
}
wait_for 10 "the other program got no drop: $(cat "$DROPS")" dropped
grep -qx "color #$picked" "$DROPS" || fail "the other program got no application/x-color #$picked: $(cat "$DROPS")"
grep -qx "text #$picked" "$DROPS" || fail "the other program got no text #$picked: $(cat "$DROPS")"
expect_pixel $PREVIEW_X $PREVIEW_Y "$picked" "preview after the drag out"
expect_pixel $SWATCH_X $SWATCH_Y FFFFFF "selected colour after the drag out"

# Out of the window and back: onto the swatch it keeps the pick ...
picked=$(hover_pick 153 60)
drag_through $OUTSIDE $SWATCH
await_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drag out and back"
# ... anywhere else it does nothing, and it picks nothing on its way.
hover_pick 253 200 >/dev/null
drag_through $OUTSIDE $((WX + 354)) $((WY + 100)) $((WX + PREVIEW_X)) $((WY + PREVIEW_Y))
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drag out and back elsewhere"
expect_pixel $PREVIEW_X $PREVIEW_Y "$(pixel 253 200)" "preview after a drag out and back over bar 6"

# Inside the window, as always.
picked=$(hover_pick 301 30)
drag_through $SWATCH
await_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drop inside the window"
hover_pick 57 200 >/dev/null
drag_through $((WX + PREVIEW_X)) $((WY + PREVIEW_Y))
input_barrier
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drop on the preview"

# The other program's colour is refused.
xdotool mousemove --sync $ON_TARGET
drag_through $SWATCH
own_drag_ended() {
    grep -q '^own drag' "$DROPS"
}
wait_for 10 "the other program's drag did not end: $(cat "$DROPS")" own_drag_ended
grep -qx "own drag refused" "$DROPS" || fail "our window took the other program's drag: $(cat "$DROPS")"
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after the other program's drag"

# The other program took the keyboard with its click.
xdotool windowfocus --sync "$WINDOW"
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_dragout: passed"
