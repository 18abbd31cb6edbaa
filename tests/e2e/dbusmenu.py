#!/usr/bin/env python3
"""The program's StatusNotifier item and its menu, read on the session bus as a panel reads
them (the panel's own watcher lists the item; the menu is a com.canonical.dbusmenu object).

Usage: dbusmenu.py item PID      prints "BUSNAME PATH" of the item PID registered, if it is the
                                 only one (on a test's panel, another is the icon twice)
       dbusmenu.py layout PID    prints the menu's top-level items, "label|enabled|visible"
       dbusmenu.py click PID LABEL   AboutToShow, then Event "clicked" on the item LABEL
Exits 1 with what it found on stderr when there is no such item, menu or entry."""

import sys

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(dest, path, interface, method, args, reply):
    return bus.call_sync(dest, path, interface, method, args, GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


def item(pid):
    # Entries are a bus name, or a bus name followed by the object path (lxqt-panel, waybar).
    entries = call("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                   "org.freedesktop.DBus.Properties", "Get",
                   GLib.Variant("(ss)", ("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems")),
                   "(v)")[0]
    owners, own = [], None
    for entry in entries:
        name, _, path = entry.partition("/")
        try:
            owner = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "GetConnectionUnixProcessID", GLib.Variant("(s)", (name,)), "(u)")[0]
        except GLib.Error:
            owner = None
        if owner == pid:
            own = name, "/" + path if path else "/StatusNotifierItem"
        owners.append("%s of process %s" % (entry, owner))
    # Nothing else runs on the test's panel: any other item shows the program's icon twice.
    if own is None or len(entries) > 1:
        sys.exit("the items registered are: %s" % (", ".join(owners) or "none"))
    return own


def menu(pid):
    name, path = item(pid)
    where = call(name, path, "org.freedesktop.DBus.Properties", "Get",
                 GLib.Variant("(ss)", ("org.kde.StatusNotifierItem", "Menu")), "(v)")[0]
    return name, where


def entries(pid):
    name, where = menu(pid)
    try:
        layout = call(name, where, "com.canonical.dbusmenu", "GetLayout",
                      GLib.Variant("(iias)", (0, -1, [])), "(u(ia{sv}av))")[1]
    except GLib.Error as e:
        sys.exit("GetLayout on %s: %s" % (where, e.message))
    # Absent properties take dbusmenu's defaults: enabled and visible.
    return name, where, [(child[0], child[1]) for child in layout[2]]


def main():
    what, pid = sys.argv[1], int(sys.argv[2])
    if what == "item":
        print(*item(pid))
    elif what == "layout":
        for _, props in entries(pid)[2]:
            if props.get("type") != "separator":
                print("%s|%s|%s" % (props.get("label", ""), props.get("enabled", True),
                                    props.get("visible", True)))
    elif what == "click":
        name, where, children = entries(pid)
        ids = [i for i, props in children if props.get("label", "").replace("_", "") == sys.argv[3]]
        if not ids:
            sys.exit("no entry %s in %s" % (sys.argv[3], children))
        call(name, where, "com.canonical.dbusmenu", "AboutToShow", GLib.Variant("(i)", (0,)), "(b)")
        call(name, where, "com.canonical.dbusmenu", "Event",
             GLib.Variant("(isvu)", (ids[0], "clicked", GLib.Variant("i", 0), 0)), "()")


if __name__ == "__main__":
    main()
