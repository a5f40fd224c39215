#!/usr/bin/python3
# A desktop portal that holds GNOME's interface settings for the pointer, as GNOME's portal reads
# them out to programs on a Wayland desktop: Settings.Read(namespace, key) answers the value inside
# a variant. Usage: desktop_portal.py CURSOR_SIZE CURSOR_THEME; it serves until it is ended.
import sys

from gi.repository import Gio, GLib

INTERFACE = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.freedesktop.portal.Settings">
    <method name="Read">
      <arg type="s" name="namespace" direction="in"/>
      <arg type="s" name="key" direction="in"/>
      <arg type="v" name="value" direction="out"/>
    </method>
  </interface>
</node>""").interfaces[0]

settings = {
    ("org.gnome.desktop.interface", "cursor-size"): GLib.Variant("i", int(sys.argv[1])),
    ("org.gnome.desktop.interface", "cursor-theme"): GLib.Variant("s", sys.argv[2]),
}


def called(_connection, _sender, _path, _interface, _method, parameters, invocation):
    value = settings.get(tuple(parameters.unpack()))
    if value is None:
        invocation.return_dbus_error("org.freedesktop.portal.Error.NotFound", "no such setting")
    else:
        invocation.return_value(GLib.Variant("(v)", (GLib.Variant("v", value),)))


def connected(connection, _name):
    # The object is there before the name is: whoever sees the name may ask at once.
    connection.register_object("/org/freedesktop/portal/desktop", INTERFACE, called, None, None)


Gio.bus_own_name(Gio.BusType.SESSION, "org.freedesktop.portal.Desktop", Gio.BusNameOwnerFlags.NONE,
                 connected, None, lambda *_: sys.exit("the portal's name is taken"))
GLib.MainLoop().run()
