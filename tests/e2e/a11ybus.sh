# The AT-SPI bus of a screen-reader test: a dbus-daemon of its own, with the
# tests' bus configuration, the AT-SPI registry on it, and a11ybus.py on the
# session bus to say where it is, as programs ask (Qt 6.4 takes an
# AT_SPI_BUS_ADDRESS in the environment but then never registers with the
# registry).

# in_private_session SCRIPT: runs the test script again on a private session
# bus with the same configuration (none of the desktop's services on it).
in_private_session() {
    [ -z "${IN_TEST_SESSION:-}" ] || return 0
    exec env IN_TEST_SESSION=1 dbus-run-session --config-file="$(dirname "$1")/../session-bus.conf" \
        -- bash "$1" 2> >(grep -v -e 'fd limit' -e 'unknown child' >&2)
}

start_a11y_bus() {
    local fifo
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    # Debian's own Python carries the GLib bindings of a11ybus.py.
    dbus-daemon --config-file="$E2E_DIR/../session-bus.conf" --nofork --print-address=3 3>"$fifo" &
    HELPER_PIDS+=($!)
    read -r -t 10 A11Y_BUS <"$fifo" || fail "the AT-SPI bus did not start"
    AT_SPI_BUS_ADDRESS=$A11Y_BUS /usr/libexec/at-spi2-registryd >/dev/null 2>&1 &
    HELPER_PIDS+=($!)
    wait_for 10 "the AT-SPI registry did not come up" a11y_registry_running
    /usr/bin/python3 "$E2E_DIR/a11ybus.py" "$A11Y_BUS" >"$fifo" &
    HELPER_PIDS+=($!)
    IFS= read -r -t 10 REPLY <"$fifo" && [ "$REPLY" = ready ] ||
        fail "a11ybus.py, which tells where the AT-SPI bus is, did not start"
    rm -f "$fifo"
}

a11y_registry_running() {
    dbus-send --bus="$A11Y_BUS" --print-reply --dest=org.freedesktop.DBus \
        /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner string:org.a11y.atspi.Registry \
        2>/dev/null | grep -q 'boolean true'
}
