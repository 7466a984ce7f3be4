#!/usr/bin/env bash
# Dragging a bar out of the window drops the current pick on another program
# (tests/e2e/droptarget.cpp) as application/x-color and #RRGGBB. Inside the
# window drops behave as they always did, also for a drag that went out and
# came back; a colour dragged in from the other program is refused.
source "$(dirname "$0")/lib.sh"
DROPTARGET=${DROPTARGET:?DROPTARGET must name the drop target program}
start_x
start_app

PREVIEW_X=394; PREVIEW_Y=195   # inside the preview swatch, clear of the icon
SWATCH_X=429; SWATCH_Y=61      # centre of the selected-colour swatch
TARGET_X=800; TARGET_Y=300     # where the other program's window goes
DROPS=$(mktemp)

"$DROPTARGET" >"$DROPS" 2>&1 &
TARGET_PID=$!
trap 'kill $TARGET_PID 2>/dev/null; rm -f "$DROPS"; cleanup' EXIT
TARGET=$(xdotool search --sync --onlyvisible --name '^Drop target$' | head -n 1)
xdotool windowmove --sync "$TARGET" $TARGET_X $TARGET_Y

# Presses where the pointer is, moves through the given screen points, a
# little at each, and releases.
drag_through() {
    xdotool mousedown 1
    while [ $# -gt 0 ]; do
        xdotool mousemove --sync "$1" "$2"
        sleep 0.15
        xdotool mousemove --sync $(($1 + 1)) $(($2 + 1))
        sleep 0.15
        shift 2
    done
    xdotool mouseup 1
    sleep 0.3
}

OUTSIDE="$((WX + 300)) $((WY - 30))"
SWATCH="$((WX + SWATCH_X)) $((WY + SWATCH_Y))"

picked=$(hover_pick 57 126)
drag_through $OUTSIDE $((TARGET_X + 100)) $((TARGET_Y + 100))
for _ in $(seq 40); do
    grep -q '^dropped' "$DROPS" && break
    sleep 0.05
done
grep -qx "color #$picked" "$DROPS" || fail "the other program got no application/x-color #$picked: $(cat "$DROPS")"
grep -qx "text #$picked" "$DROPS" || fail "the other program got no text #$picked: $(cat "$DROPS")"
expect_pixel $PREVIEW_X $PREVIEW_Y "$picked" "preview after the drag out"
expect_pixel $SWATCH_X $SWATCH_Y FFFFFF "selected colour after the drag out"

# Out of the window and back: onto the swatch it keeps the pick ...
picked=$(hover_pick 153 60)
drag_through $OUTSIDE $SWATCH
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drag out and back"
# ... anywhere else it does nothing, and it picks nothing on its way.
hover_pick 253 200 >/dev/null
drag_through $OUTSIDE $((WX + 354)) $((WY + 100)) $((WX + PREVIEW_X)) $((WY + PREVIEW_Y))
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drag out and back elsewhere"
expect_pixel $PREVIEW_X $PREVIEW_Y "$(pixel 253 200)" "preview after a drag out and back over bar 6"

# Inside the window, as always.
picked=$(hover_pick 301 30)
drag_through $SWATCH
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drop inside the window"
hover_pick 57 200 >/dev/null
drag_through $((WX + PREVIEW_X)) $((WY + PREVIEW_Y))
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after a drop on the preview"

# The other program's colour is refused.
: >"$DROPS"
xdotool mousemove --sync $((TARGET_X + 100)) $((TARGET_Y + 100))
drag_through $SWATCH
for _ in $(seq 40); do
    grep -q '^own drag' "$DROPS" && break
    sleep 0.05
done
grep -qx "own drag refused" "$DROPS" || fail "our window took the other program's drag: $(cat "$DROPS")"
expect_pixel $SWATCH_X $SWATCH_Y "$picked" "selected colour after the other program's drag"

# The other program took the keyboard with its click.
xdotool windowfocus --sync "$WINDOW"
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_dragout: passed"
