"""The accessibility bus's broker on the test's private session bus, in place
of at-spi-bus-launcher (which starts its bus with the desktop's configuration
and service directories): tells programs that ask org.a11y.Bus where the
test's own AT-SPI bus is, and that accessibility and a screen reader are on.
Prints "ready" once it owns the name."""
import sys

from gi.repository import Gio, GLib

INTERFACES = """
<node>
  <interface name="org.a11y.Bus">
    <method name="GetAddress"><arg type="s" direction="out"/></method>
  </interface>
  <interface name="org.a11y.Status">
    <property name="IsEnabled" type="b" access="readwrite"/>
    <property name="ScreenReaderEnabled" type="b" access="readwrite"/>
  </interface>
</node>
"""


def main():
    address = sys.argv[1]
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACES)
    loop = GLib.MainLoop()

    def call(_connection, _sender, _path, _interface, _method, _args, invocation):
        invocation.return_value(GLib.Variant("(s)", (address,)))

    def get_property(*_args):
        return GLib.Variant("b", True)

    def acquired(connection, _name):
        print("ready", flush=True)

    def bus_acquired(connection, _name):
        for interface in node.interfaces:
            connection.register_object("/org/a11y/bus", interface, call, get_property, None)

    Gio.bus_own_name(Gio.BusType.SESSION, "org.a11y.Bus", Gio.BusNameOwnerFlags.NONE,
                     bus_acquired, acquired, lambda *_: loop.quit())
    loop.run()


main()
