# Helpers for the end-to-end tests on Wayland: a private sway (headless, software
# rendering) at the output scale OUTPUT_SCALE, real input through one virtual
# pointer and one virtual keyboard (wlprobe.py), pixels read back with grim.
# The helpers of lib.sh work on top of it with the same names: pixel,
# hover_pick, await_pixel, input_barrier, expect_exit... Positions are logical
# pixels of the client area unless a helper says "device"; WX, WY is the
# client area's top-left device pixel on the output.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

export QT_QPA_PLATFORM=wayland
unset DISPLAY QT_SCALE_FACTOR
# On Wayland the program ends without Qt's shutdown (it can hang there), so
# what Qt's Wayland plugin holds is still held at the end: leaks are looked
# for in the X11 runs of the same code, address faults here too.
[ -z "${ASAN_OPTIONS:-}" ] ||
    export ASAN_OPTIONS=${ASAN_OPTIONS//detect_leaks=1/detect_leaks=0}
# Where the window is put, logical pixels: a client cannot place its window
# on Wayland, so the test asks the compositor.
PLACE_X=16
PLACE_Y=16

# The compositor draws the cursor into every screen shot (the headless
# output has no cursor plane): a theme whose cursors are all transparent
# lets grim and the portal read the pixel under the pointer.
make_transparent_cursors() {
    local dir=$1/transparent/cursors name
    mkdir -p "$dir"
    /usr/bin/python3 -c '
import struct, sys
size, side = 24, 8
image = struct.pack("<9I", 36, 0xFFFD0002, size, 1, side, side, 0, 0, 0) + bytes(4 * side * side)
sys.stdout.buffer.write(b"Xcur" + struct.pack("<6I", 16, 0x10000, 1, 0xFFFD0002, size, 28) + image)
' >"$dir/left_ptr"
    for name in default arrow top_left_arrow pointer hand1 hand2 watch wait progress \
        left_ptr_watch half-busy crosshair cross tcross xterm text ibeam closedhand grabbing \
        openhand grab dnd-move dnd-copy dnd-none dnd-no-drop no-drop not-allowed forbidden \
        copy move all-scroll; do
        ln -s left_ptr "$dir/$name"
    done
}

# start_sway [xwayland]: a private sway, with Xwayland when asked (DISPLAY
# then names it). sway refuses to run as root: it runs as nobody, in a runtime
# folder of its own; our clients reach it by the socket's full path.
start_sway() {
    SWAY_DIR=$(mktemp -d)
    HELPER_DIRS+=("$SWAY_DIR")
    make_transparent_cursors "$SWAY_DIR/icons"
    export XCURSOR_PATH=$SWAY_DIR/icons XCURSOR_THEME=transparent XCURSOR_SIZE=24
    cat >"$SWAY_DIR/config" <<EOF
output HEADLESS-1 mode ${SCREEN_WIDTH}x$SCREEN_HEIGHT scale $SCALE position 0 0
seat seat0 xcursor_theme transparent 24
default_border none
default_floating_border none
focus_on_window_activation focus
xwayland $([ -n "${1:-}" ] && echo enable || echo disable)
EOF
    # sway's Xwayland lets in only sway's own user.
    [ -z "${1:-}" ] ||
        echo "exec sh -c 'xhost +si:localuser:root >/dev/null && echo \"\$DISPLAY\" >display'" >>"$SWAY_DIR/config"
    chown -R nobody:nogroup "$SWAY_DIR"
    chmod 700 "$SWAY_DIR"
    (cd "$SWAY_DIR" && exec env -i PATH="$PATH" HOME="$SWAY_DIR" XDG_RUNTIME_DIR="$SWAY_DIR" \
        XCURSOR_PATH="$XCURSOR_PATH" XCURSOR_THEME=transparent WLR_BACKENDS=headless \
        WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        setpriv --reuid=nobody --regid=nogroup --clear-groups -- sway -c config >sway.log 2>&1) &
    HELPER_PIDS+=($!)
    wait_for 20 "sway did not start" sway_ready "${1:-}"
    export WAYLAND_DISPLAY=$SWAY_DIR/wayland-1
    SWAYSOCK=$(echo "$SWAY_DIR"/sway-ipc.*.sock)
    export SWAYSOCK
    if [ -n "${1:-}" ]; then
        DISPLAY=$(cat "$SWAY_DIR/display")
        export DISPLAY
    fi
    coproc PROBE { exec /usr/bin/python3 "$E2E_DIR/wlprobe.py" "$SCALE" $SCREEN_WIDTH $SCREEN_HEIGHT; }
    exec 7>&"${PROBE[1]}" 8<&"${PROBE[0]}"
    IFS= read -r -t 10 REPLY <&8 && [ "$REPLY" = ready ] || fail "wlprobe.py, which sends input, did not start"
}
sway_ready() {
    WAIT_DETAIL=$(tail -n 3 "$SWAY_DIR/sway.log" 2>/dev/null)
    [ -S "$SWAY_DIR/wayland-1" ] && compgen -G "$SWAY_DIR/sway-ipc.*.sock" >/dev/null &&
        { [ -z "$1" ] || [ -s "$SWAY_DIR/display" ]; }
}

# window_field FIELD [PID | name=TITLE]: FIELD of the window of the program
# started last (APP_PID), of process PID, or with that title, in sway's tree;
# "none" when sway shows no such window. FIELD is a Python expression of w,
# the window's node, and o, the node of the output sway holds it on.
window_field() {
    swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def windows(node, output=None):
    if node.get("type") == "output":
        output = node
    yield node, output
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from windows(child, output)
which = sys.argv[1]
def wanted(w):
    if which.startswith("name="):
        return w.get("name") == which[len("name="):]
    return w.get("pid") == int(which)
found = [(w, o) for w, o in windows(json.load(sys.stdin)) if wanted(w)]
print(eval(sys.argv[2], {"w": found[0][0], "o": found[0][1]}) if found else "none")' "${2:-$APP_PID}" "$1"
}

# add_output NAME MODE SCALE X Y: another headless output, NAME (sway names
# them HEADLESS-1, HEADLESS-2, ... as they come), of MODE (WIDTHxHEIGHT
# device pixels) at SCALE, its top-left corner at layout position (X, Y).
add_output() {
    swaymsg create_output >/dev/null
    wait_for 10 "sway made no output $1" output_active "$1"
    swaymsg output "$1" mode "$2" scale "$3" position "$4" "$5" >/dev/null
    wait_for 10 "output $1 did not take mode $2 at scale $3 at ($4,$5)" output_is "$@"
}
output_field() {
    swaymsg -r -t get_outputs | /usr/bin/python3 -c '
import json, sys
found = [o for o in json.load(sys.stdin) if o["name"] == sys.argv[1]]
print(eval(sys.argv[2], {"o": found[0]}) if found else "none")' "$1" "$2"
}
output_active() {
    [ "$(output_field "$1" 'o["active"]')" = True ]
}
output_is() {
    local now
    now=$(output_field "$1" '"%(width)dx%(height)d" % o["current_mode"] + " %g %d %d" % (o["scale"], o["rect"]["x"], o["rect"]["y"])')
    WAIT_DETAIL="it is $now"
    [ "$now" = "$2 $3 $4 $5" ]
}

# use_output NAME: the helpers work in output NAME's device pixels from now
# on, at its scale; OUTPUT_X, OUTPUT_Y: its top-left corner in the layout.
OUTPUT_X=0
OUTPUT_Y=0
use_output() {
    probe output "$1"
    local scale
    read -r scale OUTPUT_X OUTPUT_Y <<<"$REPLY"
    [ -n "$OUTPUT_Y" ] || fail "wlprobe.py: $REPLY"
    use_scale "$scale"
    POINTER=""
}

# Starts the program, waits until sway shows its window, has it placed at
# (PLACE_X, PLACE_Y) of the output the helpers work in, and waits until its
# bars are painted. WINDOW is sway's id of it; WX, WY, WW, WH the client
# area, device pixels.
start_app() {
    open_app "$@"
    place_window
}
open_app() {
    "$PROGRAM" "$@" 2>"$XDG_RUNTIME_DIR/stderr" &
    APP_PID=$!
    wait_for 20 "the program showed no window" window_exists
}
place_window() {
    swaymsg "[con_id=$WINDOW] move absolute position $((OUTPUT_X + PLACE_X)) $((OUTPUT_Y + PLACE_Y))" >/dev/null
    wait_for 5 "the window was not placed" window_placed
    wait_for 20 "the bars were not painted" bars_painted
}
window_exists() {
    kill -0 "$APP_PID" 2>/dev/null ||
        fail "the program ended before its window was shown: $(cat "$XDG_RUNTIME_DIR/stderr")"
    WINDOW=$(window_field 'w["id"]')
    [ "$WINDOW" != none ]
}
window_placed() {
    client_geometry
    WAIT_DETAIL="it stands at device pixel ($WX,$WY)"
    [ "$WX $WY" = "$(device_of_layout $PLACE_X) $(device_of_layout $PLACE_Y)" ]
}
device_of_layout() {
    echo $(($1 * SCALE_MILLI / 1000))
}
window_origin() {
    client_geometry
}
client_geometry() {
    local x y w h
    read -r x y w h <<<"$(window_field '"%d %d %d %d" % tuple(w["rect"][k] for k in ("x", "y", "width", "height"))')"
    WX=$(device_of_layout $((x - OUTPUT_X))) WY=$(device_of_layout $((y - OUTPUT_Y)))
    WW=$(device_of_layout "$w") WH=$(device_of_layout "$h")
}

# Whether the window has the keyboard focus.
window_focused() {
    [ "$(window_field 'w["focused"]')" = True ]
}
# Gives the window the keyboard focus and waits until it has it.
focus_window() {
    swaymsg "[con_id=$WINDOW] focus" >/dev/null
    wait_for 5 "the window never got the keyboard focus" window_focused
}

point_at_device() {
    [ "$POINTER" != "$((WX + $1)) $((WY + $2))" ] || return 0
    POINTER="$((WX + $1)) $((WY + $2))"
    probe move $POINTER
}

# Moves the pointer into a device pixel of the client area: three quarters
# of the way in, right and down, where the pixel that holds the hot spot and
# the nearest pixel corner part.
point_into_device() {
    POINTER=""
    probe move "$((WX + $1)).75" "$((WY + $2)).75"
}

double_click() {
    button click left
    button click left
}

# key KEY...: keys pressed and released in turn (Escape, shift+F1, ctrl+c).
key() {
    probe key "$@"
    [ "$REPLY" = ok ] || fail "wlprobe.py: $REPLY"
}

# button press|release|click BUTTON: a pointer button.
button() {
    probe "$1" "$2"
}

# The window's client area as seen on the screen.
screenshot() {
    client_geometry
    grim -g "$((OUTPUT_X + WX * 1000 / SCALE_MILLI)),$((OUTPUT_Y + WY * 1000 / SCALE_MILLI)) $((WW * 1000 / SCALE_MILLI))x$((WH * 1000 / SCALE_MILLI))" "$SHOTS/$1.png"
}

# clipboard_is TYPE TEXT: whether the clipboard offers TYPE with TEXT. The
# Wayland clipboard answers a moment after the copy, so wait for it.
clipboard_is() {
    local text
    text=$(timeout 5 wl-paste --no-newline --type "$1" 2>/dev/null) || true
    WAIT_DETAIL="it holds '$text' as $1"
    [ "$text" = "$2" ]
}

# start_portal: the desktop portal as a desktop has it, on a private session
# bus that activates nothing installed: PipeWire, xdg-desktop-portal-wlr (its
# PickColor runs slurp for the point and grim for the pixel),
# xdg-desktop-portal-gtk (without its Access interface xdg-desktop-portal
# offers no screenshots), then xdg-desktop-portal, each started here.
start_portal() {
    local bus
    bus=$(dbus-daemon --config-file="$E2E_DIR/../session-bus.conf" --print-address=1 \
        --print-pid=3 --fork 3>"$XDG_RUNTIME_DIR/bus.pid")
    HELPER_PIDS+=($(cat "$XDG_RUNTIME_DIR/bus.pid"))
    export DBUS_SESSION_BUS_ADDRESS=$bus XDG_CURRENT_DESKTOP=sway:gnome
    pipewire >"$XDG_RUNTIME_DIR/pipewire.log" 2>&1 &
    HELPER_PIDS+=($!)
    # xdg-desktop-portal-wlr ends at once without it.
    wait_for 20 "PipeWire did not start" test -S "$XDG_RUNTIME_DIR/pipewire-0"
    /usr/libexec/xdg-desktop-portal-wlr -l DEBUG >"$XDG_RUNTIME_DIR/portal-wlr.log" 2>&1 &
    HELPER_PIDS+=($!)
    /usr/libexec/xdg-desktop-portal-gtk >"$XDG_RUNTIME_DIR/portal-gtk.log" 2>&1 &
    HELPER_PIDS+=($!)
    wait_for 20 "the portal's back ends did not start" bus_names \
        org.freedesktop.impl.portal.desktop.wlr org.freedesktop.impl.portal.desktop.gtk
    start_portal_front
}
# The front, alone: a test may stop it and start another. PORTAL: its pid.
start_portal_front() {
    /usr/libexec/xdg-desktop-portal --verbose >>"$XDG_RUNTIME_DIR/portal.log" 2>&1 &
    PORTAL=$!
    HELPER_PIDS+=($PORTAL)
    # A test may kill it: no word from the shell then.
    disown $PORTAL
    wait_for 20 "xdg-desktop-portal did not start" portal_front_owns_its_name
}
# Kills the front and waits until the bus has seen it go: until then the
# name is still the old front's, a call to it is lost with it, and a new
# front finds the name taken and ends.
kill_portal_front() {
    kill -KILL "$PORTAL"
    wait_for 10 "the killed xdg-desktop-portal kept its bus name" portal_name_free
}
portal_name_free() {
    ! dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetNameOwner string:org.freedesktop.portal.Desktop >/dev/null 2>&1
}
portal_front_owns_its_name() {
    local owner
    owner=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.GetConnectionUnixProcessID string:org.freedesktop.portal.Desktop 2>/dev/null)
    WAIT_DETAIL="org.freedesktop.portal.Desktop is owned by: ${owner:-nobody}"
    [[ $owner == *"uint32 $PORTAL" ]]
}
bus_names() {
    local names name
    names=$(dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.ListNames 2>/dev/null)
    for name in "$@"; do
        WAIT_DETAIL="$name is not on the bus"
        [[ $names == *"\"$name\""* ]] || return 1
    done
}

# start_cells X Y: another Wayland program (PICKCELLS) showing one-device-pixel
# cells of known colours, put at layout position (X, Y); cells_placed then
# finds its cell (0, 0) at device pixel (CELL_LEFT, CELL_TOP) of the output
# the helpers work in.
start_cells() {
    "$PICKCELLS" 2>/dev/null &
    CELLS=$!
    HELPER_PIDS+=($CELLS)
    wait_for 20 "the cells program showed no window" cells_shown
    CELLS_X=$1 CELLS_Y=$2
    swaymsg "[pid=$CELLS] move absolute position $CELLS_X $CELLS_Y" >/dev/null
}
cells_shown() {
    [ "$(window_field 'w["id"]' $CELLS)" != none ]
}
# The colour of cell (x, y), RRGGBB.
cell_colour() {
    printf '%02X%02X99' $((4 * $1 + 1)) $((4 * $2 + 2))
}
cells_placed() {
    CELL_LEFT=$(device_of_layout $((CELLS_X - OUTPUT_X))) CELL_TOP=$(device_of_layout $((CELLS_Y - OUTPUT_Y)))
    probe pixels $((CELL_LEFT + 5)) $((CELL_TOP + 9))
    WAIT_DETAIL="cell (5, 9) shows $REPLY"
    [ "$REPLY" = "$(cell_colour 5 9)" ]
}

# The portal's picker (slurp) is up.
picker_running() {
    pgrep -x slurp >/dev/null
}
# The picker takes the pointer once its veil covers the screen: the cells
# show lighter.
picker_shown() {
    WAIT_DETAIL="no slurp runs; the portal's last words: $(tail -n 2 "$XDG_RUNTIME_DIR/portal.log" | tr '\n' ' '); $(grep -v DEBUG "$XDG_RUNTIME_DIR/portal-wlr.log" | tail -n 4 | tr '\n' ' ')"
    picker_running || return 1
    probe pixels $((CELL_LEFT + 5)) $((CELL_TOP + 9))
    WAIT_DETAIL="cell (5, 9) shows $REPLY"
    [ "$REPLY" != "$(cell_colour 5 9)" ]
}
picker_gone() {
    ! picker_running
}

# pick_cell X Y: Ctrl+P, then a click on cell (X, Y) in the portal's picker.
pick_cell() {
    key ctrl+p
    wait_for 10 "Ctrl+P showed no portal picker" picker_shown
    probe move $((CELL_LEFT + $1)) $((CELL_TOP + $2))
    button click left
    wait_for 10 "the portal's picker did not end at a click" picker_gone
}
