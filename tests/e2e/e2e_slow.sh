#!/usr/bin/env bash
# A slow machine, made reproducible: what the test sees depends on how far the
# program has come, never on how fast or how loaded the machine is.
# First run: every poll the program makes, one or more per yield of its paint,
# takes half a millisecond (strace delays it), so the paint takes seconds
# wherever it runs. The window must appear before its bars are complete (the
# paint runs once the window is on screen), and the bars must be seen filling
# from the bottom up, bar after bar.
# Second run: the program runs only in short slices (SIGCONT, a fraction of a
# millisecond, SIGSTOP). An Esc queued while it is stopped at its first frame
# ends it before the paint reaches the last bar, with status 0 and nothing on
# stderr.
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

# In the second run the program shares this script's CPU at idle priority:
# when this script wakes to stop it, it takes the CPU at once, and whatever
# else delays the script delays the program too. A slice of SLICE_US
# microseconds is a small part of the paint, on a fast or a loaded machine;
# until the window is mapped, slices are ten times as long.
CPU=$(taskset -cp $$ | sed 's/.*: *//; s/[,-].*//')
taskset -cp "$CPU" $$ >/dev/null
SLICE_US=${SLICE_US:-100}
# A pipe nobody writes to: a timed read on it is a pause without a process.
mkfifo "$XDG_RUNTIME_DIR/never"
exec 9<>"$XDG_RUNTIME_DIR/never"
pause_us() {
    local seconds
    printf -v seconds '0.%06d' "$1"
    read -r -t "$seconds" -u 9 || true
}

# The program is stopped, or has ended.
app_halted() {
    local stat
    read -r stat 2>/dev/null </proc/$APP_PID/stat || return 0
    stat=${stat##*) }
    case ${stat%% *} in T | t | Z | X) ;; *) return 1 ;; esac
}

# CPU_USED: the program's CPU time so far, all threads, microseconds.
cpu_used() {
    local file ran total=0
    for file in /proc/$APP_PID/task/*/schedstat; do
        read -r ran _ 2>/dev/null <"$file" && total=$((total + ran))
    done
    CPU_USED=$((total / 1000))
}

# Starts the program stopped before its first instruction, with the
# scheduling options given.
start_stopped() {
    "$@" bash -c 'kill -STOP $$ && exec "$0"' "$PROGRAM" 2>"$XDG_RUNTIME_DIR/stderr" &
    APP_PID=$!
    wait_for 10 "the program did not start" app_halted
    SLICES=0 LARGEST=0 MAPPED=0
    cpu_used
}

# Lets the program run for one slice and waits until it is stopped again.
run_slice() {
    local before=$CPU_USED
    kill -CONT "$APP_PID" 2>/dev/null || true
    pause_us $((MAPPED ? SLICE_US : SLICE_US * 10))
    kill -STOP "$APP_PID" 2>/dev/null || true
    until app_halted; do pause_us 100; done
    SLICES=$((SLICES + 1))
    cpu_used
    [ $((CPU_USED - before)) -le $LARGEST ] || LARGEST=$((CPU_USED - before))
}

# sample: reads the stopped program's window until two reads agree, as the X
# server may still be drawing what the program sent before it stopped.
# PAINTED is how many sample points, in the order of the paint, differ from
# the blank surface; a painted point that the paint reaches after a blank one
# is a fault.
sample() {
    local i first_blank="" previous=""
    local -a colours
    window_origin
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

# run_until SECONDS WHAT COMMAND...: runs the program slice by slice until
# COMMAND, run while it is stopped, succeeds; fails with WHAT after SECONDS.
run_until() {
    local seconds=$1 what=$2
    shift 2
    WAIT_DETAIL=""
    run_and_check() {
        run_slice
        "$@"
    }
    poll "$seconds" run_and_check "$@" ||
        fail "$what${WAIT_DETAIL:+ ($WAIT_DETAIL)} after $SLICES slices, $CPU_USED us of CPU time"
}

# The toolbar picture is loaded on show, right before the paint and without
# a yield in between: once it is on screen, the paint is under way.
first_frame() {
    window_viewable || return 1
    MAPPED=1
    sample
    WAIT_DETAIL="the toolbar shows $TOOLBAR"
    [ "$TOOLBAR" = $TOOLBAR_FACE ]
}

# The window's first frame must show bar 6, painted last, still blank.
check_first_frame() {
    echo "$1: the first frame has $PAINTED of 21 sample points painted"
    [ "$BAR6" = "$BLANK $BLANK $BLANK" ] ||
        fail "the window appeared with the bars painted ($PAINTED of 21 sample points, bar 6 $BAR6, blank $BLANK): the paint ran before the window was on screen"
}

# The pointer rests where the window will be, so that Esc goes to it.
xdotool mousemove --sync $((SCREEN_WIDTH / 2)) $((SCREEN_HEIGHT / 2 + 10))

# First run: the whole fill, slowed down, which must show on the way.
traced() {
    grep -q '^TracerPid:[[:space:]]*[1-9]' /proc/$APP_PID/status
}
start_stopped
strace -f -e trace=poll,ppoll -e inject=poll,ppoll:delay_enter=500 -o /dev/null -p "$APP_PID" \
    2>/dev/null &
STRACE_PID=$!
HELPER_PIDS+=($STRACE_PID)
wait_for 10 "strace did not take the program" traced
kill -CONT "$APP_PID"
wait_for 60 "the program showed no window with its toolbar" first_frame
check_first_frame "the fill"
started=${EPOCHREALTIME//[.,]/} steps="" partial=0
watch_fill() {
    local before=$PAINTED
    sample
    if [ $PAINTED != "$before" ]; then
        steps+=" $PAINTED after $(((${EPOCHREALTIME//[.,]/} - started) / 1000)) ms,"
        [ $PAINTED -eq 21 ] || partial=$((partial + 1))
    fi
    WAIT_DETAIL="painted sample points:$steps"
    [ $PAINTED -eq 21 ]
}
wait_for 100 "the fill did not end" watch_fill
echo "the fill: painted sample points:$steps"
[ $partial -ge 2 ] || fail "the bars were not seen filling: the painted sample points went$steps"
# Without a tracer, so that a sanitizer build can check for leaks at the end.
kill "$STRACE_PID"
untraced() { ! traced; }
wait_for 10 "strace did not let the program go" untraced
xdotool key --clearmodifiers Escape
expect_exit 0 30

# Second run: Esc queued while the program is stopped at its first frame,
# with the paint under way in bar 0. The paint reads it at its next yield and
# ends after that band: bar 6, six bars further on, must still be blank.
start_stopped taskset -c "$CPU" chrt --idle 0
run_until 60 "the program showed no window with its toolbar" first_frame
check_first_frame "Esc mid-paint"
at_escape=$PAINTED
xdotool key --clearmodifiers Escape
last_seen=$PAINTED
window_gone() {
    probe state "$WINDOW"
    [ "$REPLY" != viewable ] && return 0
    sample
    # Once the window is unmapped the sample reads whatever lies beneath.
    [ "$TOOLBAR" != $TOOLBAR_FACE ] || last_seen=$PAINTED last_bar6=$BAR6
    WAIT_DETAIL="$last_seen of 21 sample points painted"
    return 1
}
last_bar6=$BAR6
run_until 30 "Esc queued mid-paint did not close the window" window_gone
echo "Esc mid-paint: queued with $at_escape of 21 sample points painted; the window closed after $SLICES slices with $last_seen"
[ "$last_bar6" = "$BLANK $BLANK $BLANK" ] ||
    fail "the paint went on after the Esc pressed mid-paint: $at_escape of 21 sample points were painted when it was pressed, $last_seen, bar 6 among them, when the window closed"
kill -CONT "$APP_PID" 2>/dev/null || true
expect_exit 0 30
echo "e2e_slow: passed"
