# A real screen reader for the end-to-end tests: Orca with its default
# settings, speaking through speech-dispatcher and espeak-ng into PulseAudio's
# null sink (without a sound server Orca stalls after its first utterance),
# on the test's private AT-SPI bus. What it speaks is read back from its debug
# file, whose SPEECH OUTPUT lines are what the user hears.
source "$E2E_DIR/a11ybus.sh"

ORCA_HOME=""
A11Y_BUS=""
ORCA_LOG=""
ORCA_PID=""
SPOKEN_FROM=0

start_orca() {
    ORCA_HOME=$(mktemp -d -p "$XDG_RUNTIME_DIR")
    ORCA_LOG=$ORCA_HOME/orca-debug.out
    export HOME=$ORCA_HOME GSETTINGS_BACKEND=memory
    start_a11y_bus
    pulseaudio --daemonize=no --use-pid-file=no --exit-idle-time=-1 -n \
        --load=module-native-protocol-unix --load=module-null-sink \
        --load=module-always-sink >"$ORCA_HOME/pulseaudio.out" 2>&1 &
    HELPER_PIDS+=($!)
    wait_for 10 "PulseAudio did not start" pulseaudio_running
    speech-dispatcher --run-single --timeout 0 >"$ORCA_HOME/speechd.out" 2>&1 &
    HELPER_PIDS+=($!)
    # Orca writes its debug file through a block buffer, so a line may
    # stay unwritten for long; written to a terminal, each line goes out as
    # it is made. script gives it one, and copies it to the file at once.
    # Orca will not start while another process named orca of the same user
    # exists, one that has ended but is not yet reaped included: one Orca
    # test at a time on the machine, each waiting until the last one's Orca
    # has gone (the lock is the test's until its end, after its Orca's).
    exec 9>>"${TMPDIR:-/tmp}/color-palette-orca.lock"
    flock -w 100 9 || fail "another Orca test held the machine's Orca for 100 s"
    wait_for 30 "another Orca of this user runs" no_orca_running
    script --quiet --flush --command \
        "exec orca --debug-file=/dev/tty -u '$ORCA_HOME/orca-prefs'" "$ORCA_LOG" \
        </dev/null >/dev/null 2>&1 9>&- &
    # Orca itself is what ends with the test; script, its parent, then reaps
    # it and ends too.
    local script_pid=$!
    wait_for 10 "script did not start Orca" orca_child_of "$script_pid"
    HELPER_PIDS+=("$ORCA_PID")
    wait_for 30 "Orca did not start speaking" orca_started
}

no_orca_running() {
    WAIT_DETAIL="process(es) $(pgrep -u "$(id -u)" -x orca | paste -sd ' ')"
    ! pgrep -u "$(id -u)" -x orca >/dev/null
}

# ORCA_PID: the Orca that script (process $1) runs.
orca_child_of() {
    ORCA_PID=$(pgrep -P "$1" | head -n 1)
    [ -n "$ORCA_PID" ]
}

orca_started() {
    spoken "Screen reader on" && return 0
    WAIT_DETAIL="the end of its log: $(tail -n 3 "$ORCA_LOG" 2>/dev/null | paste -sd '|')"
    return 1
}

# The lines Orca has spoken since the last mark_spoken, one a line.
spoken_lines() {
    tail -c +$((SPOKEN_FROM + 1)) "$ORCA_LOG" 2>/dev/null |
        sed -n "s/.*SPEECH OUTPUT: '\(.*\)' \?\({.*\)\?$/\1/p"
}

# Everything spoken before this is past: later checks look at what follows.
mark_spoken() {
    SPOKEN_FROM=$(stat -c %s "$ORCA_LOG")
}

# spoken TEXT: whether Orca has spoken a line containing TEXT since the mark.
spoken() {
    WAIT_DETAIL="Orca spoke: $(spoken_lines | paste -sd '|')"
    spoken_lines | grep -qF -- "$1"
}

pulseaudio_running() {
    pactl info >/dev/null 2>&1
}

# spoken_line TEXT: whether Orca has spoken exactly TEXT since the mark, no
# role name added (Orca ends a sentence it makes with a full stop).
spoken_line() {
    WAIT_DETAIL="Orca spoke: $(spoken_lines | paste -sd '|')"
    spoken_lines | grep -qxF -e "$1" -e "$1."
}

expect_spoken() {
    wait_for 15 "Orca did not say \"$1\"" spoken "$1"
}

expect_spoken_line() {
    wait_for 15 "Orca did not say \"$1\" alone" spoken_line "$1"
}
