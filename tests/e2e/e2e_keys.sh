#!/usr/bin/env bash
# The window as the desktop shows it: its frame centred on the screen's
# available area, no resizing or maximising offered; Shift+F1 opens the about
# box, a modal transient of the window; Esc closes the box without closing the
# window, and Esc on the window ends the program with status 0. Run with and
# without a window manager (WM).
source "$(dirname "$0")/lib.sh"
start_x
start_app
screenshot "main-window${WM:+-$WM}"

# The caption the title bar shows, exactly.
caption=$(xprop -id "$WINDOW" -notype _NET_WM_NAME | sed -n 's/^_NET_WM_NAME = "\(.*\)"$/\1/p')
[ "$caption" = "Color palette" ] || problem "the title bar reads \"$caption\", not \"Color palette\""

# The available area: the window manager's work area, or the whole screen.
work_area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.* = //p')
IFS=', ' read -r area_x area_y area_width area_height _ <<<"${work_area:-0, 0, $SCREEN_WIDTH, $SCREEN_HEIGHT}"
frame_geometry
centred_x=$((area_x + (area_width - FW) / 2))
centred_y=$((area_y + (area_height - FH) / 2))
[ "$FX,$FY" = "$centred_x,$centred_y" ] ||
    problem "the ${FW}x$FH frame stands at ($FX,$FY); centred on the available area ${area_width}x$area_height+$area_x+$area_y it stands at ($centred_x,$centred_y): $((FX - centred_x)) px right, $((FY - centred_y)) px down"
# Placed before it is first shown, not moved into place once seen.
probe mapped_at "$WINDOW"
[ "$REPLY" = "$FX $FY" ] ||
    problem "the window first appeared with its frame at ($REPLY), then moved to ($FX $FY)"

if [ -n "${WM:-}" ]; then
    actions=$(xprop -id "$WINDOW" _NET_WM_ALLOWED_ACTIONS)
    for action in RESIZE MAXIMIZE_HORZ MAXIMIZE_VERT; do
        [[ $actions != *"_NET_WM_ACTION_$action"* ]] ||
            problem "the window manager offers _NET_WM_ACTION_$action for the fixed window: $actions"
    done
fi

about_open() {
    xdotool search --onlyvisible --name '^О программе$' >/dev/null 2>&1
}

point_at 200 120
xdotool key --clearmodifiers F1
about_open && fail "F1 alone opened the about box"
input_barrier
about_open && fail "F1 alone opened the about box"

xdotool key --clearmodifiers shift+F1
wait_for 5 "Shift+F1 opened no about box" about_open
ABOUT=$(xdotool search --onlyvisible --name '^О программе$' | head -n 1)
transient_for=$(xprop -id "$ABOUT" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
[ $((transient_for)) -eq $((WINDOW)) ] ||
    problem "the about box is transient for '${transient_for:-nothing}', not the main window $WINDOW"
xprop -id "$ABOUT" _NET_WM_STATE | grep -q _NET_WM_STATE_MODAL ||
    problem "the about box is not modal: $(xprop -id "$ABOUT" _NET_WM_STATE)"
await_drawn "$ABOUT"
import -window "$ABOUT" "$SHOTS/about-box.png"
[ -z "${WM:-}" ] || import -window root "$SHOTS/about-box-on-the-$WM-desktop.png"

probe origin "$ABOUT"
read -r about_x about_y <<<"$REPLY"
xdotool mousemove --sync $((about_x + 20)) $((about_y + 20))
xdotool key --clearmodifiers Escape
about_closed() { ! about_open; }
wait_for 5 "Esc left the about box open" about_closed
kill -0 "$APP_PID" || fail "the Esc that closed the about box also ended the program"
wait_for 10 "the window did not get the keyboard back from the about box" window_focused

point_at 200 120
xdotool key --clearmodifiers shift+Escape
app_ended && fail "Shift+Esc ended the program"
input_barrier
app_ended && fail "Shift+Esc ended the program"
xdotool key --clearmodifiers Escape
expect_exit 0
fail_on_problems
echo "e2e_keys${WM:+ under $WM}: passed"
