"""Listens on the AT-SPI bus as a screen reader would: finds Color palette's
status line, hovers a bar with the real pointer (xdotool) and checks that the
status line's new text is both readable and announced as a name change; then
picks from the keyboard alone (Tab to the red bar, Down) and checks the same."""
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402


def find_application(name, timeout=10.0):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and app.get_name() == name:
                return app
        time.sleep(0.2)
    sys.exit(f"FAIL: {name} never appeared on the accessibility bus")


def find(node, matches):
    if matches(node):
        return node
    for index in range(node.get_child_count()):
        found = find(node.get_child_at_index(index), matches)
        if found is not None:
            return found
    return None


def listen_while(commands, until, seconds=20):
    """Runs the shell commands one after another inside the event loop, so
    that the announcements they cause are heard, and listens on until the
    condition holds or the seconds have passed."""
    def run():
        for command in commands:
            subprocess.run(command, shell=True, check=True)
        return False

    def check():
        if until() or time.time() > deadline:
            loop.quit()
            return False
        return True

    deadline = time.time() + seconds
    loop = GLib.MainLoop()
    GLib.idle_add(run)
    GLib.timeout_add(20, check)
    loop.run()


def expect_colour_heard(status, heard, what):
    name = status.get_name()
    print(f"after {what}:", repr(name))
    print("announced:", heard)
    if not name.startswith(" Current Color: RGB(") or " = &H" not in name:
        sys.exit(f"FAIL: after {what} the status line does not read as a colour")
    if name not in heard:
        sys.exit(f"FAIL: the text after {what} was not announced")
    return name


def main():
    x, y, window = sys.argv[1], sys.argv[2], sys.argv[3]
    app = find_application("color-palette")
    status = find(app, lambda node: node.get_role() == Atspi.Role.STATUS_BAR)
    if status is None:
        sys.exit("FAIL: no status bar in the accessibility tree")
    print("before hover:", repr(status.get_name()))

    heard = []

    def on_change(event):
        if event.source is not None and event.source.get_role() == Atspi.Role.STATUS_BAR:
            heard.append(event.source.get_name())

    listener = Atspi.EventListener.new(on_change)
    listener.register("object:property-change:accessible-name")

    def colour_heard(other_than=None):
        return any(text.startswith(" Current Color: RGB(") and text != other_than
                   for text in heard)

    listen_while([f"xdotool mousemove --sync {x} {y}"], colour_heard)
    hovered = expect_colour_heard(status, heard, "hover")

    # The window takes the keyboard, its toolbar the focus; Tab goes on to
    # the red bar, Down picks one row down it.
    heard.clear()
    listen_while([f"xdotool windowfocus --sync {window}",
                  "xdotool key --clearmodifiers Tab",
                  "xdotool key --clearmodifiers Down"], lambda: colour_heard(hovered))
    focused = find(app, lambda node: node.get_state_set().contains(Atspi.StateType.FOCUSED))
    if focused is None or focused.get_name() != "Red bar":
        sys.exit("FAIL: after Tab the focus is on "
                 + (repr(focused.get_name()) if focused else "nothing"))
    picked = expect_colour_heard(status, heard, "Down on the red bar")
    if picked == hovered:
        sys.exit("FAIL: the keyboard pick left the status line as the hover had it")
    print("screenreader: passed")


main()
