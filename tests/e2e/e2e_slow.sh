#!/usr/bin/env bash
# A slow machine: the program shares one CPU with a busy loop and gets a small
# share of it. The window must appear with blank bars (the paint runs once the
# window is on screen) and the bars must be seen filling from the bottom up,
# bar after bar; in a second run, an Esc pressed mid-paint ends the program
# with status 0 and nothing on stderr.
source "$(dirname "$0")/lib.sh"
start_x

# Sample points a quarter, half and three quarters of the way down each bar,
# listed against the order of the paint (bar 6 high first, bar 0 low last):
# read one after the other in that order, a point can only look newer than
# the points the paint reaches before it, never older.
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

since() {
    local micro=$((${EPOCHREALTIME//[.,]/} - $1))
    printf '%d.%02d s' $((micro / 1000000)) $((micro % 1000000 / 10000))
}

# sample: reads the window. PAINTED is how many sample points, in the order
# of the paint, differ from the blank surface; a painted point the paint
# reaches after a blank one is a fault once two reads in a row show it: a
# single read may catch a frame that is still being put on screen.
ORDER_FAULT=""
sample() {
    local i first_blank="" fault=""
    local -a colours
    window_origin
    pixels_device "${REQUEST[@]}"
    read -ra colours <<<"$REPLY"
    TOOLBAR=${colours[21]} BLANK=${colours[22]}
    PAINTED=0
    for ((i = 20; i >= 0; i--)); do
        if [ "${colours[i]}" = "$BLANK" ]; then
            first_blank=${first_blank:-$i}
        elif [ -z "$first_blank" ]; then
            PAINTED=$((PAINTED + 1))
        elif [ -z "$fault" ]; then
            fault="${NAMES[i]} is painted (${colours[i]}) while ${NAMES[first_blank]} is still blank ($BLANK): the bars must fill bottom up, bar after bar"
        fi
    done
    [ -z "$fault" ] || [ "$fault" != "$ORDER_FAULT" ] || [ "${ORDER_CHECK:-1}" = 0 ] || fail "$fault"
    ORDER_FAULT=$fault
    BAR0_HIGH=${colours[18]} BAR6="${colours[*]:0:3}"
}

# The toolbar picture is loaded on show, right before the paint and without
# a yield in between: once it is on screen, the paint is under way.
first_frame() {
    sample
    WAIT_DETAIL="the toolbar shows $TOOLBAR"
    [ "$TOOLBAR" = $TOOLBAR_FACE ]
}

# Starts the starved program and waits for its window's first frame, which
# must show the bars blank.
start_starved() {
    local started=${EPOCHREALTIME//[.,]/}
    taskset -c 0 nice -n "$STARVATION" "$PROGRAM" 2>"$XDG_RUNTIME_DIR/stderr" &
    APP_PID=$!
    wait_for 120 "the program created no window" window_exists
    wait_for 60 "the window was never mapped" window_viewable
    MAPPED=${EPOCHREALTIME//[.,]/}
    wait_for 60 "the mapped window never showed its toolbar" first_frame
    echo "$1: window mapped $(since "$started") after launch; its first frame has $PAINTED of 21 sample points painted"
    [ $PAINTED -lt 3 ] && [ "$BAR6" = "$BLANK $BLANK $BLANK" ] ||
        fail "the window appeared with the bars already painted ($PAINTED of 21 sample points; bar 0 high $BAR0_HIGH, bar 6 $BAR6, blank $BLANK): the paint ran before the window was on screen"
}

# How far the program is niced below the busy loop: a sanitizer build, ten
# times slower by itself, gets a larger share so that its paint still ends.
STARVATION=${STARVATION:-19}

# The pointer rests where the window will be, so that Esc goes to it.
xdotool mousemove --sync $((SCREEN_WIDTH / 2)) $((SCREEN_HEIGHT / 2 + 10))
taskset -c 0 bash -c 'while :; do :; done' &
HELPER_PIDS+=($!)

# First run: the whole fill. A starved program redraws the screen in steps
# of a bar or two, so the fill must show at least twice on the way.
start_starved "the fill"
first=$PAINTED steps="" partial=0
watch_fill() {
    local before=$PAINTED
    sample
    if [ $PAINTED != "$before" ]; then
        steps+=" $PAINTED after $(since "$MAPPED"),"
        [ $PAINTED -eq 21 ] || partial=$((partial + 1))
    fi
    WAIT_DETAIL="painted sample points:$steps"
    [ $PAINTED -eq 21 ]
}
wait_for 60 "the fill did not end" watch_fill
echo "the fill: painted sample points since mapping:$steps"
[ $partial -ge 2 ] || fail "the bars were not seen filling: painted sample points went from $first to$steps"
xdotool key --clearmodifiers Escape
expect_exit 0 30

# Second run: Esc as soon as the window shows, with the paint under way.
start_starved "Esc mid-paint"
xdotool key --clearmodifiers Escape &
escaped=${EPOCHREALTIME//[.,]/}
last_seen=$PAINTED
window_gone() {
    probe state "$WINDOW"
    [ "$REPLY" != viewable ] && return 0
    # While the window goes, a read may show it half gone: no order to check.
    ORDER_CHECK=0 sample
    # Once the window is gone the sample reads whatever lies beneath.
    [ "$TOOLBAR" != $TOOLBAR_FACE ] || last_seen=$PAINTED
    return 1
}
wait_for 30 "Esc pressed mid-paint did not close the window" window_gone
echo "Esc mid-paint: the window closed $(since "$escaped") after Esc, with $last_seen of 21 sample points painted"
[ $last_seen -lt 21 ] || fail "the paint ran to its end before the Esc pressed mid-paint was served"
expect_exit 0 30
echo "e2e_slow: passed"
