#!/usr/bin/env python3
"""A StatusNotifier watcher with its own host on the session bus, as KDE Plasma, GNOME's
AppIndicator extension and most Wayland panels provide: just enough for the program to put its
icon there. Items that register are written to stdout, one bus name a line.

Usage: sni_panel.py [--host-after SECONDS]
--host-after: the watcher is there at once, its host registers only after that long (a panel
that comes up after the program)."""

import sys

from gi.repository import Gio, GLib

WATCHER = "org.kde.StatusNotifierWatcher"
XML = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
    <signal name="StatusNotifierHostUnregistered"/>
  </interface>
</node>
"""

items = []
host = False
bus = None


def emit(name, args=None):
    bus.emit_signal(None, "/StatusNotifierWatcher", WATCHER, name, args)


def on_call(connection, sender, path, interface, method, params, invocation):
    if method == "RegisterStatusNotifierItem":
        # Qt passes its item's bus name; some programs pass only a path.
        name = params.unpack()[0]
        if name.startswith("/"):
            name = sender
        if name not in items:
            items.append(name)
            print(name, flush=True)
            emit("StatusNotifierItemRegistered", GLib.Variant("(s)", (name,)))
    invocation.return_value(None)


def on_get(connection, sender, path, interface, prop):
    if prop == "RegisteredStatusNotifierItems":
        return GLib.Variant("as", items)
    if prop == "IsStatusNotifierHostRegistered":
        return GLib.Variant("b", host)
    return GLib.Variant("i", 0)


def register_host():
    global host
    host = True
    emit("StatusNotifierHostRegistered")
    return False


def main():
    global bus
    delay = 0.0
    if len(sys.argv) == 3 and sys.argv[1] == "--host-after":
        delay = float(sys.argv[2])
    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    info = Gio.DBusNodeInfo.new_for_xml(XML).interfaces[0]
    bus.register_object("/StatusNotifierWatcher", info, on_call, on_get, None)
    if delay <= 0:
        register_host()
    else:
        GLib.timeout_add(int(delay * 1000), register_host)
    Gio.bus_own_name_on_connection(bus, WATCHER, Gio.BusNameOwnerFlags.NONE, None, None)
    GLib.MainLoop().run()


if __name__ == "__main__":
    main()
