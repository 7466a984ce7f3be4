#!/usr/bin/env bash
# The real toolbar: the top button greys the background and stays marked, the
# middle one gives the titles title-bar colours, the bottom one opens the
# about box and is unmarked again once it closes.
source "$(dirname "$0")/lib.sh"
start_x
start_app

GAP_X=82; GAP_Y=100         # the control's surface between bars 0 and 1
SIDEBAR_X=430; SIDEBAR_Y=240 # the sidebar's button-face background
TITLE_X=392; TITLE_Y=8       # inside the "Color Picker" title
FACE=808080; MARKED=7F7F7F   # a button's face, and the same face inverted

window_colour=$(pixel $GAP_X $GAP_Y)
face_colour=$(pixel $SIDEBAR_X $SIDEBAR_Y)
plain_title=$(pixel $TITLE_X $TITLE_Y)
[ "$window_colour" != "$face_colour" ] || fail "window and button face look alike"
expect_pixel 3 3 $FACE "top button before"

click_at() {
    point_at "$1" "$2"
    xdotool click 1
}

click_at 16 16
await_pixel $GAP_X $GAP_Y "$face_colour" "background after the top button"
await_pixel 3 3 $MARKED "top button marked"
screenshot "toolbar-grey-background${WM:+-$WM}"

click_at 16 48
wait_for 10 "the title kept its plain background" pixel_is_not $TITLE_X $TITLE_Y "$plain_title"
title=$(pixel $TITLE_X $TITLE_Y)
await_pixel $TITLE_X $((TITLE_Y + 104)) "$title" "second title in title-bar colours"
await_pixel 3 35 $MARKED "middle button marked"
screenshot "toolbar-both-styles${WM:+-$WM}"

click_at 16 16
click_at 16 48
await_pixel $GAP_X $GAP_Y "$window_colour" "background after a second click"
await_pixel $TITLE_X $TITLE_Y "$plain_title" "title after a second click"
await_pixel 3 3 $FACE "top button unmarked"
await_pixel 3 35 $FACE "middle button unmarked"

point_at 16 80
xdotool click 1 &
ABOUT=$(xdotool search --sync --onlyvisible --name '^О программе$' | head -n 1)
[ -n "$ABOUT" ] || fail "the bottom button opened no about box"
await_pixel 3 67 $MARKED "bottom button marked while the about box is open"
await_drawn "$ABOUT"
import -window root "$SHOTS/toolbar-about-screen${WM:+-$WM}.png"
probe origin "$ABOUT"
read -r about_x about_y <<<"$REPLY"
xdotool mousemove --sync $((about_x + 20)) $((about_y + 20))
xdotool key --clearmodifiers Return
await_pixel 3 67 $FACE "bottom button unmarked after the about box"
wait_for 10 "the window did not get the keyboard back from the about box" window_focused

point_at 200 120
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_toolbar${WM:+ under $WM}: passed"
