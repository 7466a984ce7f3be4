#!/usr/bin/env bash
# The colour leaves the program through the clipboard: Ctrl+C and Ctrl+Insert
# copy the current pick as #RRGGBB and as application/x-color; the context
# menu, opened by the right button on a bar or a swatch, the menu key or
# Shift+F10, copies it in each of its three forms; a dismissed menu copies
# nothing.
source "$(dirname "$0")/lib.sh"
start_x
start_app

# What the clipboard holds; nothing when no program owns it.
clipboard() {
    xclip -o -selection clipboard "$@" 2>/dev/null || true
}

clipboard_holds() {
    local actual
    actual=$(clipboard)
    WAIT_DETAIL="it holds '$actual'"
    [ "$actual" = "$1" ]
}

expect_clipboard() {
    wait_for 10 "$2: the clipboard never held '$1'" clipboard_holds "$1"
}

# The context menu: a second window of the program on the screen.
menu_open() {
    [ "$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l)" -gt 1 ]
}
menu_closed() {
    ! menu_open
}

# Opens the context menu with an action ($1...) and chooses item $CHOOSE.
choose_from_menu() {
    "$@"
    wait_for 10 "no menu opened" menu_open
    local keys=()
    for _ in $(seq "$CHOOSE"); do keys+=(Down); done
    xdotool key --clearmodifiers "${keys[@]}" Return
    wait_for 10 "the menu stayed open after a choice" menu_closed
}

picked=$(hover_pick 57 126)
xdotool key --clearmodifiers ctrl+c
expect_clipboard "#$picked" "Ctrl+C after a hover"
red=$((16#${picked:0:2})); green=$((16#${picked:2:2})); blue=$((16#${picked:4:2}))
expected_color=$(printf '%04x %04x %04x ffff' $((red * 257)) $((green * 257)) $((blue * 257)))
actual_color=$(clipboard -t application/x-color | od -An -tx2 | xargs)
[ "$actual_color" = "$expected_color" ] ||
    fail "application/x-color after Ctrl+C is '$actual_color', expected '$expected_color'"

picked=$(hover_pick 105 60)
xdotool key --clearmodifiers ctrl+Insert
expect_clipboard "#$picked" "Ctrl+Insert after a hover"

picked=$(hover_pick 205 200)
red=$((16#${picked:0:2})); green=$((16#${picked:2:2})); blue=$((16#${picked:4:2}))
CHOOSE=1 choose_from_menu xdotool click 3
expect_clipboard "#$picked" "first item of the right button's menu"
CHOOSE=2 choose_from_menu xdotool click 3
expect_clipboard "rgb($red, $green, $blue)" "second item of the right button's menu"
CHOOSE=3 choose_from_menu xdotool key --clearmodifiers Menu
expect_clipboard "&H00${picked:4:2}${picked:2:2}${picked:0:2}" "third item of the menu key's menu"
echo "someone else's" | xclip -i -selection clipboard
CHOOSE=1 choose_from_menu xdotool key --clearmodifiers shift+F10
expect_clipboard "#$picked" "first item of Shift+F10's menu"

# Over the swatch nothing is picked: its menu offers the pick still.
point_at $SWATCH_X $SWATCH_Y
CHOOSE=2 choose_from_menu xdotool click 3
expect_clipboard "rgb($red, $green, $blue)" "second item of the swatch's menu"
# A dismissed menu copies nothing; its "&H" is shown as written, so H is no
# access key that would choose the third item.
echo "someone else's" | xclip -i -selection clipboard
xdotool click 3
wait_for 10 "no menu opened" menu_open
xdotool key --clearmodifiers h Escape
wait_for 10 "Esc left the menu open" menu_closed
input_barrier
clipboard_holds "someone else's" || fail "a dismissed menu: the clipboard holds '$(clipboard)', not the other program's text"

point_at 200 120
xdotool key --clearmodifiers Escape
expect_exit 0
echo "e2e_copy: passed"
