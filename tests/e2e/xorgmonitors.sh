# Several monitors on one X server: Xorg with the dummy driver, whose RandR
# outputs DUMMY0, DUMMY1, ... become Qt's screens (Xvfb's RandR monitors do
# not). Qt names its screens after the outputs, so QT_SCREEN_SCALE_FACTORS=
# "DUMMY0=1;DUMMY1=2" gives each its own density. Used by the end-to-end tests
# (MONITORS in lib.sh) and the benchmarks.

# start_xorg_dummy FIFO LOG: starts the server in the background; it writes
# its display number to FIFO. $! is its process.
start_xorg_dummy() {
    Xorg -displayfd 3 -config "$(dirname "${BASH_SOURCE[0]}")/xorg-dummy.conf" -noreset \
        -nolisten tcp -logfile "$2" -novtswitch -sharevts 3>"$1" >/dev/null 2>&1 &
}

# arrange_monitors SIZE...: on the server in DISPLAY, one monitor of each
# size (WIDTHxHEIGHT), left to right, the first primary. MONITOR_X[i],
# MONITOR_W[i], MONITOR_H[i]: where monitor i lies on the root.
arrange_monitors() {
    local i=0 size previous="" x=0 width height mode
    MONITOR_X=() MONITOR_W=() MONITOR_H=()
    for size in "$@"; do
        width=${size%x*} height=${size#*x}
        mode=$(gtf "$width" "$height" 60 | sed -n 's/^ *Modeline "[^"]*" *//p')
        xrandr --newmode "m$size" $mode 2>/dev/null || true
        xrandr --addmode "DUMMY$i" "m$size" || return 1
        xrandr --output "DUMMY$i" --mode "m$size" ${previous:+--right-of $previous} || return 1
        MONITOR_X+=($x) MONITOR_W+=($width) MONITOR_H+=($height)
        previous=DUMMY$i x=$((x + width)) i=$((i + 1))
    done
    xrandr --output DUMMY0 --primary
}
