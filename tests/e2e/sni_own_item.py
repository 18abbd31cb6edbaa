#!/usr/bin/env python3
"""The program's own StatusNotifier item on a real panel, found as the panel finds it: in its
watcher's RegisteredStatusNotifierItems, whose entries are a bus name, or a bus name and an
object path ("name/path" on lxqt-panel and waybar, "name@/path" on GNOME's AppIndicator
extension). A panel also lists stand-ins it made of XEmbed icons, so the item is the entry
whose bus name the program's process owns.

Usage: sni_own_item.py PID   prints the item's bus name when it is the only item registered
                             (on a test's panel another one is the program's icon shown twice);
                             else exits 1 with the items registered and their processes."""

import re
import sys

from gi.repository import Gio, GLib

bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)


def call(dest, path, interface, method, args, reply):
    return bus.call_sync(dest, path, interface, method, args, GLib.VariantType(reply),
                         Gio.DBusCallFlags.NONE, 5000, None).unpack()


def main():
    pid = int(sys.argv[1])
    entries = call("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                   "org.freedesktop.DBus.Properties", "Get",
                   GLib.Variant("(ss)", ("org.kde.StatusNotifierWatcher", "RegisteredStatusNotifierItems")),
                   "(v)")[0]
    owners, own = [], None
    for entry in entries:
        name = re.split("[/@]", entry, maxsplit=1)[0]
        try:
            owner = call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "GetConnectionUnixProcessID", GLib.Variant("(s)", (name,)), "(u)")[0]
        except GLib.Error:
            owner = None
        if owner == pid:
            own = name
        owners.append("%s of process %s" % (entry, owner))
    if own is None or len(entries) > 1:
        sys.exit("the items registered are: %s" % (", ".join(owners) or "none"))
    print(own)


if __name__ == "__main__":
    main()
