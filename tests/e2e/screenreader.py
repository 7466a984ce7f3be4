"""Listens on the AT-SPI bus as a screen reader would: finds Color palette's
status line, hovers a bar with the real pointer (xdotool) and checks that the
status line's new text is both readable and announced as a name change."""
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


def find_role(node, role):
    if node.get_role() == role:
        return node
    for index in range(node.get_child_count()):
        found = find_role(node.get_child_at_index(index), role)
        if found is not None:
            return found
    return None


def main():
    x, y = sys.argv[1], sys.argv[2]
    app = find_application("color-palette")
    status = find_role(app, Atspi.Role.STATUS_BAR)
    if status is None:
        sys.exit("FAIL: no status bar in the accessibility tree")
    print("before hover:", repr(status.get_name()))

    heard = []

    def on_change(event):
        if event.source is not None and event.source.get_role() == Atspi.Role.STATUS_BAR:
            heard.append(event.source.get_name())

    listener = Atspi.EventListener.new(on_change)
    listener.register("object:property-change:accessible-name")
    loop = GLib.MainLoop()
    GLib.timeout_add(300, lambda: subprocess.run(["xdotool", "mousemove", "--sync", x, y]) and False)
    GLib.timeout_add(2500, loop.quit)
    loop.run()

    name = status.get_name()
    print("after hover:", repr(name))
    print("announced:", heard)
    if not name.startswith(" Current Color: RGB(") or " = &H" not in name:
        sys.exit("FAIL: the status line does not read as a colour")
    if name not in heard:
        sys.exit("FAIL: the new text was not announced")
    print("screenreader: passed")


main()
