#!/usr/bin/env bash
# A slow machine, made reproducible: strace delays every poll the program
# makes (one or more at each yield of its paint) by half a millisecond, so the
# paint takes seconds however fast the machine is, and a loaded machine only
# makes it slower.
# First run: the window must appear before its bars are complete (the paint
# runs once the window is on screen), and the bars must be seen filling from
# the bottom up, bar after bar.
# Second run: an Esc queued while the program is stopped at its first frame
# ends it before the paint reaches the last bar, with status 0 and nothing on
# stderr; a third run checks that exit at full speed, where a sanitizer build
# also looks for leaks.
source "$(dirname "$0")/lib.sh"
start_x

# Sample points a quarter, half and three quarters of the way down each bar,
# listed against the order of the paint (bar 6 high first, bar 0 low last).
SAMPLES=() NAMES=()
for bar in 6 5 4 3 2 1 0; do
    for height in high:66 middle:126 low:187; do
        SAMPLES+=($((BAR_LEFTS[bar] + 22)) ${height#*:})
        NAMES+=("bar $bar ${height%:*}")
    done
done
TOOLBAR_FACE=808080  # the toolbar bitmap's grey: the window's content is shown
GAP_X=82; GAP_Y=100  # the control's surface between bars 0 and 1: blank

# The device points to read: the samples, the toolbar, the blank surface.
REQUEST=()
for ((i = 0; i < ${#SAMPLES[@]}; i += 2)); do
    to_device ${SAMPLES[i]} ${SAMPLES[i + 1]}
    REQUEST+=($DX $DY)
done
to_device 3 3
REQUEST+=($DX $DY)
to_device $GAP_X $GAP_Y
REQUEST+=($DX $DY)

# sample: reads the window until two reads agree, as the X server may still
# be drawing what the program sent.
# PAINTED is how many sample points, in the order of the paint, differ from
# the blank surface; a painted point that the paint reaches after a blank one
# is a fault.
sample() {
    local i first_blank="" previous=""
    local -a colours
    window_origin
    [ "$WX" != gone ] || return 1
    pixels_device "${REQUEST[@]}"
    until [ "$REPLY" = "$previous" ]; do
        previous=$REPLY
        pixels_device "${REQUEST[@]}"
    done
    read -ra colours <<<"$REPLY"
    TOOLBAR=${colours[21]} BLANK=${colours[22]}
    PAINTED=0
    for ((i = 20; i >= 0; i--)); do
        if [ "${colours[i]}" = "$BLANK" ]; then
            first_blank=${first_blank:-$i}
        elif [ -z "$first_blank" ]; then
            PAINTED=$((PAINTED + 1))
        elif [ "$TOOLBAR" = $TOOLBAR_FACE ]; then
            fail "${NAMES[i]} is painted (${colours[i]}) while ${NAMES[first_blank]} is still blank ($BLANK): the bars must fill bottom up, bar after bar"
        fi
    done
    BAR6="${colours[*]:0:3}"
}

# The toolbar picture is loaded on show, right before the paint and without
# a yield in between: once it is on screen, the paint is under way.
first_frame() {
    window_viewable || return 1
    sample || return 1
    WAIT_DETAIL="the toolbar shows $TOOLBAR"
    [ "$TOOLBAR" = $TOOLBAR_FACE ]
}

# The window's first frame must show bar 6, painted last, still blank.
check_first_frame() {
    echo "$1: the first frame has $PAINTED of 21 sample points painted"
    [ "$BAR6" = "$BLANK $BLANK $BLANK" ] ||
        fail "the window appeared with the bars painted ($PAINTED of 21 sample points, bar 6 $BAR6, blank $BLANK): the paint ran before the window was on screen"
}

# Stops the program where it is; one that has ended fails the test with what
# it said.
stop_app() {
    kill -STOP "$APP_PID" 2>/dev/null || {
        local status=0
        wait "$APP_PID" || status=$?
        fail "the program ended by itself, status $status; stderr: $(cat "$XDG_RUNTIME_DIR/stderr")"
    }
}

# The pointer rests where the window will be, so that Esc goes to it.
xdotool mousemove --sync $((SCREEN_WIDTH / 2)) $((SCREEN_HEIGHT / 2 + 10))

# First run: the whole fill, slowed down, which must show on the way.
start_slowed
wait_for 60 "the program showed no window with its toolbar" first_frame
check_first_frame "the fill"
started=${EPOCHREALTIME//[.,]/} steps="" partial=0 within_bar=0
watch_fill() {
    local before=$PAINTED
    sample || fail "the window went away during the fill"
    if [ $PAINTED != "$before" ]; then
        steps+=" $PAINTED after $(((${EPOCHREALTIME//[.,]/} - started) / 1000)) ms,"
        [ $PAINTED -eq 21 ] || partial=$((partial + 1))
        [ $((PAINTED % 3)) -eq 0 ] || within_bar=$((within_bar + 1))
    fi
    WAIT_DETAIL="painted sample points:$steps"
    [ $PAINTED -eq 21 ]
}
wait_for 100 "the fill did not end" watch_fill
echo "the fill: painted sample points:$steps"
[ $partial -ge 2 ] || fail "the bars were not seen filling: the painted sample points went$steps"
[ $within_bar -ge 1 ] ||
    fail "no bar was seen part-filled, the paint showed whole bars at once: the painted sample points went$steps"
release_slowed
xdotool key --clearmodifiers Escape
expect_exit 0 30

# Second run: Esc queued while the program is stopped at its first frame,
# with the paint under way in bar 0. The paint reads it at its next yield and
# ends after that band: bar 6, six bars and two seconds further on, must still
# be blank when the window closes. Leaks are checked in the third run.
start_slowed ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
wait_for 60 "the program showed no window with its toolbar" first_frame
stop_app
wait_for 10 "the program did not stop" app_halted
sample || fail "the window went away before Esc"
check_first_frame "Esc mid-paint"
at_escape=$PAINTED bar6_painted=""
xdotool key --clearmodifiers Escape
kill -CONT "$APP_PID"
window_gone() {
    probe state "$WINDOW"
    [ "$REPLY" != viewable ] && return 0
    sample || return 0
    # Once the window is unmapped the sample reads whatever lies beneath.
    if [ "$TOOLBAR" = $TOOLBAR_FACE ]; then
        last_seen=$PAINTED
        [ "$BAR6" = "$BLANK $BLANK $BLANK" ] || bar6_painted="$BAR6, blank $BLANK"
    fi
    WAIT_DETAIL="$last_seen of 21 sample points painted"
    return 1
}
last_seen=$PAINTED
wait_for 30 "Esc queued mid-paint did not close the window" window_gone
echo "Esc mid-paint: queued with $at_escape of 21 sample points painted; the window closed with $last_seen"
[ -z "$bar6_painted" ] ||
    fail "the paint went on after the Esc pressed mid-paint: $at_escape of 21 sample points were painted when it was pressed, $last_seen before the window closed, bar 6 among them ($bar6_painted)"
expect_exit 0 30

# Third run: the same Esc at the program's own speed ends it cleanly.
start_slowed
wait_for 60 "the program showed no window with its toolbar" first_frame
stop_app
wait_for 10 "the program did not stop" app_halted
release_slowed
xdotool key --clearmodifiers Escape
kill -CONT "$APP_PID"
expect_exit 0 30
echo "e2e_slow: passed"
