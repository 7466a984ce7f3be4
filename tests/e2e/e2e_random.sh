#!/usr/bin/env bash
# Random input, for a bounded time: moves, clicks and double-clicks of every
# button, drags inside and out of the window with other buttons and keys in
# between, the picking keys, Ctrl+C, the menus, the about box, screen picks
# ended every way (a double-click, keys typed ahead, Ctrl+P twice, the window
# closed, the pointer held by another program), and now and then Esc, after
# which the program is started again. It fails on an exit other than status
# 0, on anything on stderr, on a window that stops answering, on a drag that
# goes on once every button is up, on pointer or keyboard held with nothing of
# the program open, and on a hover that no longer picks the pixel under the
# pointer. SEED repeats a run (each
# run prints its own, and a failure the last input sent); SECONDS_OF_INPUT
# sets how long it goes on.
source "$(dirname "$0")/lib.sh"

SEED=${SEED:-$((${EPOCHREALTIME//[.,]/} % 1000000))}
DURATION=${SECONDS_OF_INPUT:-10}
echo "e2e_random: seed $SEED, $DURATION s${WM:+ under $WM} at $PERCENT %"
RANDOM=$SEED
# The input sent, for the report of a failure: the last actions say what led
# to it.
ACTIONS=()
xdotool() {
    case $1 in
    search) ;;
    *) ACTIONS+=("${EPOCHREALTIME} xdotool $*") ;;
    esac
    command xdotool "$@"
}
report_failure() {
    echo "e2e_random: the failing seed was $SEED; the last input sent:" >&2
    local first=$((${#ACTIONS[@]} > 40 ? ${#ACTIONS[@]} - 40 : 0))
    printf '  %s\n' "${ACTIONS[@]:first}" >&2
    if [ -n "${APP_PID:-}" ] && ! app_ended; then
        echo "  the program's windows on screen:" >&2
        command xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null |
            while read -r id; do echo "    $(xwininfo -id "$id" | sed -n 's/^xwininfo: //p')"; done >&2
    fi
}
trap 'report_failure; cleanup' EXIT

# A click that misses the window, once the program has gone, lands on the
# desktop: openbox's desktop menus would take the pointer from the next
# start, so they are left out of its configuration.
if [ "${WM:-}" = openbox ]; then
    export XDG_CONFIG_HOME=$XDG_RUNTIME_DIR/config
    mkdir -p "$XDG_CONFIG_HOME/openbox"
    sed '/<context name="Root">/,/<\/context>/d' /etc/xdg/openbox/rc.xml >"$XDG_CONFIG_HOME/openbox/rc.xml"
fi
start_x
start_app

# The buttons this test holds down: the X server keeps them down until they
# are released, whatever became of the program.
HELD=()
press() {
    xdotool mousedown "$1"
    HELD+=("$1")
}
release_all() {
    local button
    for button in "${HELD[@]}"; do
        xdotool mouseup "$button"
    done
    HELD=()
}

# The program's windows on screen: the main window, and a menu or the about
# box while one is open.
shown_windows() {
    SHOWN=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)
}
only_main_window() { shown_windows; [ "$SHOWN" -le 1 ]; }

# A random root point: over the window or beside it, but never above it,
# where a window manager's title bar would take the input.
random_point() {
    local x=$((WX - 60 + RANDOM % (WW + 120)))
    local y=$((WY + RANDOM % (WH + 60)))
    X=$((x < 0 ? 0 : x >= SCREEN_WIDTH ? SCREEN_WIDTH - 1 : x))
    Y=$((y < 0 ? 0 : y >= SCREEN_HEIGHT ? SCREEN_HEIGHT - 1 : y))
}
random_point_inside() {
    X=$((WX + RANDOM % WW))
    Y=$((WY + RANDOM % WH))
}
random_move() {
    random_point
    xdotool mousemove $X $Y
}
random_key() {
    local keys=(Up Down Prior Next Home End Tab shift+Tab space Return ctrl+c ctrl+Insert Menu
        shift+F10 shift+F1 F1 Left Right a ctrl+p)
    xdotool key "${keys[RANDOM % ${#keys[@]}]}"
}
random_click() {
    random_point_inside
    xdotool mousemove $X $Y click --repeat $((1 + RANDOM % 2)) --delay 40 $((1 + RANDOM % 3))
}
random_drag() {
    random_point_inside
    xdotool mousemove $X $Y
    local held=$((1 + RANDOM % 3))
    press $held
    local step
    for step in $(seq $((1 + RANDOM % 6))); do
        case $((RANDOM % 6)) in
        # Another button: while one stays down, the program has the pointer,
        # so a click beside the window is not the window manager's.
        0) xdotool click $((1 + (held + RANDOM % 2) % 3)) ;;
        1) random_key ;;
        *) random_move ;;
        esac
    done
    release_all
}

# A screen pick, ended one of the ways a user may end it; input sent at once
# reaches the X server in one write, before the program can answer any of it.
random_screen_pick() {
    local held_elsewhere=$((RANDOM % 8 == 0))
    if [ $held_elsewhere -eq 1 ]; then
        probe hold_pointer
        ACTIONS+=("${EPOCHREALTIME} probe hold_pointer")
    fi
    xdotool key ctrl+p
    picks=$((picks + 1))
    local ending=(
        "at_once click:1 click:1" "at_once key:Return key:Escape" "at_once key:Escape key:Escape"
        "at_once key:Control_L+p key:Control_L+p" "at_once key:Right key:shift+Down key:space"
        "at_once click:3" "close $WINDOW")
    local chosen=${ending[RANDOM % ${#ending[@]}]}
    [ "${chosen%% *}" != close ] || [ $((RANDOM % 4)) -eq 0 ] || chosen=${ending[0]}
    random_move
    ACTIONS+=("${EPOCHREALTIME} probe $chosen")
    probe $chosen
    if [ $held_elsewhere -eq 1 ]; then
        probe release_pointer
        ACTIONS+=("${EPOCHREALTIME} probe release_pointer")
    fi
}

# Closes whatever menu or box of the program is open. Fails if one does not
# close; returns 1 if an Esc meant for it ended the program instead.
close_the_others() {
    local tries=0
    until only_main_window; do
        tries=$((tries + 1))
        [ $tries -le 20 ] || fail "a menu or box of the program does not close"
        local extra
        extra=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null |
            grep -vx "$(printf '%d' "$WINDOW")" | head -n 1 || true)
        if [ -n "$extra" ]; then
            probe origin "$extra"
            read -r ex ey <<<"$REPLY"
            # A move with --sync to where the pointer is already waits on.
            pointer_location
            [ "$ex" = gone ] || [ "$((ex + 10)) $((ey + 10))" = "$ROOT_X $ROOT_Y" ] ||
                xdotool mousemove --sync $((ex + 10)) $((ey + 10)) 2>/dev/null || true
        fi
        # Under a click-to-focus window manager a box that opened while
        # another program held the pointer may not have the keyboard: a user
        # clicks it first.
        [ $tries -le 2 ] || [ -z "${WM:-}" ] || [ -z "$extra" ] || xdotool click 1
        xdotool key Escape
        poll 2 only_main_window || true
        ! app_ended || return 1
    done
}

# A drag to the desktop ends with its button's release. One still under way
# with every button up would take the hovers until a click, and the Esc that
# closes menus would end it unseen: so the pointer, once the buttons are up,
# is held only while a menu or box of the program is open. (The drag's own
# picture is a tooltip window.)
drag_over() {
    probe pointer
    [ "$REPLY" = free ] && return 0
    local id
    for id in $(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null); do
        [ "$id" != "$((WINDOW))" ] || continue
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null |
            grep -q _NET_WM_WINDOW_TYPE_TOOLTIP || return 0
    done
    WAIT_DETAIL="the pointer is held with every button up and no menu or box open"
    return 1
}

# ROOT_X, ROOT_Y: where the pointer is on the screen.
pointer_location() {
    ROOT_X="" ROOT_Y=""
    eval "$(command xdotool getmouselocation --shell 2>/dev/null | grep '^[XY]=' | sed 's/^/ROOT_/')"
}

# HOVER_X, HOVER_Y: a random point of a bar, in logical pixels, whose colour
# the preview does not show and where the pointer is not, so that the hover
# moves the pointer and its pick shows.
choose_hover() {
    local shown bar tries
    shown=$(pixel $PREVIEW_X $PREVIEW_Y)
    pointer_location
    for tries in $(seq 20); do
        bar=$((RANDOM % 7))
        HOVER_X=$((BAR_LEFTS[bar] + 4 + RANDOM % 38)) HOVER_Y=$((8 + RANDOM % 236))
        to_device $HOVER_X $HOVER_Y
        [ "$((WX + DX)) $((WY + DY))" != "$ROOT_X $ROOT_Y" ] || continue
        [ "$(pixel $HOVER_X $HOVER_Y)" = "$shown" ] || return 0
    done
}

# Whether the hover has had its answer: the preview shows HOVER_COLOUR, or a
# menu or box of the program has opened meanwhile, or the program has gone.
hover_answered() {
    app_ended || window_gone || ! only_main_window ||
        pixel_is $PREVIEW_X $PREVIEW_Y "$HOVER_COLOUR"
}

# Whatever is open is closed, every button is up, and the program answers:
# a hover over a bar shows the pixel under the pointer. Input sent before
# may still be on its way and open a menu or box after the check that none
# is open; the hover then goes to that, and is tried again once it is
# closed. Input is handled in order, so a hover that has picked with nothing
# else open shows that everything sent before it has been handled. Returns 1
# if the program ended on the way (an Esc).
settle() {
    local tries
    release_all
    wait_for 10 "a drag went on after its button's release" drag_over
    for tries in $(seq 20); do
        ! app_ended || return 1
        close_the_others || return 1
        wait_for 10 "pointer or keyboard stayed held with nothing of the program open" \
            input_free
        # The main window closed by an Esc: the program is on its way out.
        if window_gone; then
            wait_for 10 "the window closed but the program did not end" app_ended
            return 1
        fi
        client_geometry
        choose_hover
        POINTER=""
        point_at $HOVER_X $HOVER_Y
        HOVER_COLOUR=$(pixel $HOVER_X $HOVER_Y)
        wait_for 10 "the window stopped answering: after a hover at ($HOVER_X,$HOVER_Y) the preview does not show its $HOVER_COLOUR" \
            hover_answered
        if app_ended || window_gone; then
            wait_for 10 "the window closed but the program did not end" app_ended
            return 1
        fi
        only_main_window && pixel_is $PREVIEW_X $PREVIEW_Y "$HOVER_COLOUR" && return 0
        hovers_taken=$((hovers_taken + 1))
    done
    fail "a menu or box of the program opens again and again"
}
# Nothing holds pointer or keyboard; an input that opened a menu or box on
# its way in the meantime holds them rightly.
input_free() {
    probe pointer
    local pointer=$REPLY
    probe keyboard
    WAIT_DETAIL="the pointer is $pointer, the keyboard $REPLY"
    [ "$pointer $REPLY" = "free free" ] || ! only_main_window
}
window_gone() {
    probe state "$WINDOW"
    [ "$REPLY" != viewable ]
}

# An ended program must have ended well; it is started again.
restart_if_ended() {
    if window_gone; then
        wait_for 10 "the window closed but the program did not end" app_ended
    fi
    app_ended || return 0
    release_all
    expect_exit 0
    start_app
    starts=$((starts + 1))
}

actions=0 starts=1 hovers_taken=0 picks=0
deadline=$((${EPOCHREALTIME//[.,]/} + DURATION * 1000000))
next_check=0
while [ "${EPOCHREALTIME//[.,]/}" -lt $deadline ]; do
    case $((RANDOM % 22)) in
    0 | 1 | 2 | 3 | 4 | 5 | 6) random_move ;;
    7 | 8 | 9) random_click ;;
    10 | 11 | 12) random_drag ;;
    13 | 14 | 15 | 16 | 17 | 18) random_key ;;
    19) [ $((RANDOM % 4)) -ne 0 ] || xdotool key Escape ;;
    20 | 21) random_screen_pick ;;
    esac
    actions=$((actions + 1))
    restart_if_ended
    if [ $actions -ge $next_check ]; then
        settle || restart_if_ended
        next_check=$((actions + 30 + RANDOM % 30))
    fi
done

until settle; do
    restart_if_ended
done
# A hover answers without the keyboard focus, which under a window manager
# may have gone elsewhere: a click on the status line, which does nothing
# else, gives the window the keys for the closing Esc.
xdotool mousemove --sync $((WX + 10)) $((WY + WH - 10))
xdotool click 1
wait_for 10 "the window did not get the keyboard focus back" window_focused
xdotool key Escape
expect_exit 0
trap cleanup EXIT
echo "e2e_random: passed, $actions random actions, $picks screen pick(s)," \
    "$starts start(s) of the program," \
    "$hovers_taken hover(s) taken by a menu or box that input on its way opened"
