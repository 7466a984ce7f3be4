"""A desktop portal that only picks colours, for the tests: it owns
org.freedesktop.portal.Desktop on the session bus, offers the screenshot
interface at the version given, and answers every PickColor on its request
object as told.

  fakeportal.py VERSION color RED GREEN BLUE   answers success with (ddd)
  fakeportal.py VERSION cancel                 answers response 1
  fakeportal.py VERSION silent                 answers no call at all, as a
                                               portal that hangs

A request whose handle token it has seen before is refused: each request
must have its own.
"""
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

DESKTOP = "org.freedesktop.portal.Desktop"
PATH = "/org/freedesktop/portal/desktop"
SCREENSHOT = "org.freedesktop.portal.Screenshot"
REQUEST = "org.freedesktop.portal.Request"

version = int(sys.argv[1])
answer = sys.argv[2]
tokens = set()


class Request(dbus.service.Object):
    @dbus.service.signal(REQUEST, signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Get(self, interface, name, reply, error):
        if answer == "silent":
            return
        if interface != SCREENSHOT or name != "version":
            error(dbus.exceptions.DBusException("no such property",
                                                name="org.freedesktop.DBus.Error.InvalidArgs"))
            return
        reply(dbus.UInt32(version))

    @dbus.service.method(SCREENSHOT, in_signature="sa{sv}", out_signature="o",
                         sender_keyword="sender", async_callbacks=("reply", "error"))
    def PickColor(self, parent_window, options, sender, reply, error):
        if answer == "silent":
            return
        token = str(options.get("handle_token", "fakeportal"))
        if token in tokens:
            error(dbus.exceptions.DBusException("handle token %s used before" % token,
                                                name="org.freedesktop.portal.Error.Failed"))
            return
        tokens.add(token)
        path = "%s/request/%s/%s" % (PATH, sender[1:].replace(".", "_"), token)
        request = Request(bus, path)
        # A portal answers once the user has picked, never in the same moment
        # as the call: by then the caller listens for the answer.
        GLib.timeout_add(100, respond, request)
        reply(dbus.ObjectPath(path))


def respond(request):
    if answer == "color":
        channels = dbus.Struct([dbus.Double(float(v)) for v in sys.argv[3:6]], signature="ddd")
        request.Response(dbus.UInt32(0), {"color": channels})
    else:
        request.Response(dbus.UInt32(1), dbus.Dictionary({}, signature="sv"))
    request.remove_from_connection()
    return False


dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
portal = Portal(bus, PATH)
name = dbus.service.BusName(DESKTOP, bus)
GLib.MainLoop().run()
