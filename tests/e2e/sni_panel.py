#!/usr/bin/env python3
"""A StatusNotifier watcher with its own host on the session bus, as KDE Plasma, GNOME's
AppIndicator extension and most Wayland panels provide: just enough for the program to put its
icon there. Items that register are written to stdout, one bus name a line.

Usage: sni_panel.py [--host-after SECONDS]
--host-after: the watcher is there at once, its host registers only after that long (a panel
that comes up after the program).

The menu, as a real panel reads and uses it (the item's Menu property, then com.canonical.dbusmenu
AboutToShow and GetLayout on that path; Event "clicked" on the chosen item):
       sni_panel.py --layout BUSNAME          prints label, enabled, visible of each item, a line each
       sni_panel.py --click BUSNAME LABEL     chooses the item with that label"""

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


def menu_layout(name):
    """The item's menu path and its top-level items (id, properties), after AboutToShow."""
    reply = bus.call_sync(name, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                          GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", "Menu")),
                          None, Gio.DBusCallFlags.NONE, 5000, None)
    path = reply.unpack()[0]
    if path in ("", "/", "/NO_DBUSMENU"):
        sys.exit(f"the item exports no menu (Menu is {path!r})")
    call = lambda method, args, kind: bus.call_sync(name, path, "com.canonical.dbusmenu", method, args,
                                                    GLib.VariantType(kind), Gio.DBusCallFlags.NONE,
                                                    5000, None).unpack()
    call("AboutToShow", GLib.Variant("(i)", (0,)), "(b)")
    _, (_, _, children) = call("GetLayout", GLib.Variant("(iias)", (0, -1, [])), "(u(ia{sv}av))")
    return path, call, [(child[0], child[1]) for child in children]


def show_layout(name):
    _, _, items = menu_layout(name)
    for _, props in items:
        label = props.get("label", "-" if props.get("type") == "separator" else "")
        print(f"{label}\tenabled={props.get('enabled', True)}\tvisible={props.get('visible', True)}")


def click(name, label):
    _, call, items = menu_layout(name)
    ids = [ident for ident, props in items if props.get("label", "").replace("_", "") == label]
    if not ids:
        sys.exit(f"no item {label!r} in the menu")
    call("Event", GLib.Variant("(isvu)", (ids[0], "clicked", GLib.Variant("s", ""), 0)), "()")


def main():
    global bus
    if len(sys.argv) >= 3 and sys.argv[1] in ("--layout", "--click"):
        bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        if sys.argv[1] == "--layout":
            show_layout(sys.argv[2])
        else:
            click(sys.argv[2], sys.argv[3])
        return
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
