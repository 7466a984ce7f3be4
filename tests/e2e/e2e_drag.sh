#!/usr/bin/env bash
# A drag of a bar always ends: whatever interrupts a primary-button drag (a
# secondary or middle click, the about box, the copy menu), once the primary
# button is up a hover picks again and the pointer over the bars is the
# normal one, not the drag icon. A secondary-button drag across the bars
# picks all the way and opens the copy menu where the button comes up.
source "$(dirname "$0")/lib.sh"
start_x
start_app

PREVIEW_X=394; PREVIEW_Y=195   # inside the preview swatch, clear of the icon

# The program's windows on screen: the main window, and a menu or the about
# box while one is open.
shown_windows() {
    SHOWN=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)
}
extra_window_open() { shown_windows; [ "$SHOWN" -gt 1 ]; }
only_main_window() { shown_windows; [ "$SHOWN" -eq 1 ]; }

pointer_is() {
    probe cursor
    WAIT_DETAIL="the pointer is $REPLY"
    [ "$REPLY" = "$1" ]
}
pointer_is_not() { ! pointer_is "$1"; }

point_at 57 126
wait_for 3 "no normal pointer over the bars" pointer_is_not unknown
NORMAL=$REPLY

# Each interruption comes with the primary button held on a bar; CLOSE is what
# takes away the window it opened, if any.
secondary_click() { xdotool click 3; }
middle_click() { xdotool click 2; }
about_box() { xdotool key shift+F1; wait_for 5 "Shift+F1 opened no about box" extra_window_open; }
menu_key() { xdotool key Menu; wait_for 5 "the menu key opened no menu" extra_window_open; }
shift_f10() { xdotool key shift+F10; wait_for 5 "Shift+F10 opened no menu" extra_window_open; }

for interruption in secondary_click middle_click about_box menu_key shift_f10; do
    point_at 105 100
    xdotool mousedown 1
    point_at 57 140
    wait_for 3 "pressing a bar did not show the drag pointer" pointer_is_not "$NORMAL"
    $interruption
    xdotool mouseup 1
    case $interruption in
    about_box) xdotool key Return ;;
    menu_key | shift_f10) xdotool key Escape ;;
    esac
    wait_for 5 "after the $interruption, a window stayed open" only_main_window
    hover_pick 153 80 >/dev/null
    hover_pick 57 170 >/dev/null
    wait_for 3 "after a drag with a $interruption, the pointer over the bars is not the normal one" \
        pointer_is "$NORMAL"
done

# The secondary button held from the red bar over the green and the blue one:
# each picks, and no menu opens until the button comes up.
point_at 57 126
red=$(pixel 57 126)
xdotool mousedown 3
for x in 105 153; do
    point_at $x 126
    under=$(pixel $x 126)
    preview_shows() {
        pixel_now=$(pixel $PREVIEW_X $PREVIEW_Y)
        WAIT_DETAIL="the preview shows $pixel_now"
        [ "$pixel_now" = "$1" ]
    }
    wait_for 3 "a move with the secondary button held over $x,126 did not pick $under (red was $red)" \
        preview_shows "$under"
done
only_main_window || fail "the copy menu opened before the secondary button came up"
xdotool mouseup 3
wait_for 5 "the secondary button's release opened no menu" extra_window_open
xdotool key Escape
wait_for 5 "Esc left the menu open" only_main_window

point_at 200 120
xdotool key Escape
expect_exit 0
echo "e2e_drag: passed"
