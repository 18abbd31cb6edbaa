#!/usr/bin/env bash
# Life on a StatusNotifier (D-Bus) panel, on a real X server with a private session bus and a
# watcher with its host written for the test; there is no XEmbed tray at all:
#  1. a first start stays on screen and its icon registers with the watcher; the window's
#     class is the launcher's (as is the entry window's, step 4);
#  2. "Minimizar" takes the window off the screen, one Activate brings it back;
#  3. "Minimizar" again, two Activates 80 ms apart bring it back, and it stays;
#  4. a watcher that restarts hears of the item again; the item's menu, read over dbusmenu as
#     real panels do, lists the tray menu's items, and choosing "Programar Agenda" there opens
#     the entry window;
#  5. ContextMenu is answered at once and the program's own tray menu shows at the point the
#     call gives, not at the pointer; "Desativar Agenda" chosen over dbusmenu ends the program
#     with status 0;
#  6. started at logon before a panel that brings up its XEmbed tray and, a second later, its
#     StatusNotifier host: the icon goes to the host, and only there; one Activate restores;
#  7. started at logon beside an XEmbed tray, a host that comes 6 s later still takes the icon
#     from the tray, and one Activate restores; when the host's watcher ends, the icon is back
#     in the tray.
# Usage: e2e_dbus_tray.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_dbus
e2e_start_sni_panel
watcher=${E2E_PIDS[-1]}

MAIN='Zelvano Agenda Eletr.*nica V13'
main_shown() { e2e_has_window "$MAIN"; }
main_hidden() { ! main_shown; }

# "Minimizar" sits at (592, 46) in the bottom panel at (8, 469) of the client area, which lies
# under the menu bar.
# Icons embedded in trayer's panel (trayer's own child is 1x1; an embedded icon is larger).
embedded() { xwininfo -id "$E2E_PANEL" -children | grep -E '^ +0x' | grep -vc ' 1x1+' || true; }
in_tray() { [ "$(embedded)" = 1 ]; }
not_in_tray() { [ "$(embedded)" = 0 ]; }
watcher_gone() { ! e2e_bus_has org.kde.StatusNotifierWatcher; }

minimise() {
    eval "$(xdotool getwindowgeometry --shell "$(e2e_window "$MAIN")")"
    local menubar=$((HEIGHT - 591))
    xdotool mousemove $((X + 8 + 592 + 72)) $((Y + menubar + 469 + 46 + 19)) click 1
    e2e_wait 30 main_hidden || e2e_fail "Minimizar left the window on screen"
}

# 1. First start.
e2e_run; program=$E2E_LAST
e2e_wait 30 main_shown || e2e_fail "main window not shown on first start"
e2e_wait 30 e2e_has_sni_item || e2e_fail "no item registered with the StatusNotifier watcher"
e2e_wait 30 test -f "$E2E_AUTOSTART" || e2e_fail "autostart entry not created on first activation"
cp "$E2E_AUTOSTART" "$E2E_TMP/entry.saved"
# GNOME and docks match windows with the launcher by this class (StartupWMClass).
CLASS='WM_CLASS(STRING) = "zelvano-agenda", "zelvano-agenda"'
class=$(xprop -id "$(e2e_window "$MAIN")" WM_CLASS)
[ "$class" = "$CLASS" ] || e2e_fail "main window class: $class"
sleep 0.5

# 2. One activation restores.
minimise
e2e_sni_call Activate 5 || e2e_fail "Activate was not answered"
e2e_wait 30 main_shown || e2e_fail "one Activate did not bring the window back"
e2e_shot dbus-1-activated

# 3. Two activations within the double-click interval restore once: the window comes back and
# is not sent away again by the second one.
sleep 1
minimise
e2e_sni_call Activate 5 &
first=$!
sleep 0.08
e2e_sni_call Activate 5 || e2e_fail "the second Activate was not answered"
wait "$first" || e2e_fail "the first Activate was not answered"
e2e_wait 30 main_shown || e2e_fail "two quick Activates left the window off the screen"
sleep 1.5
main_shown || e2e_fail "the window left the screen again after two quick Activates"

# 4. A panel that restarts gets the item back; the menu a panel draws itself.
kill "$watcher"
e2e_wait 30 watcher_gone || e2e_fail "the watcher did not end"
e2e_start_sni_panel
e2e_wait 30 e2e_has_sni_item || e2e_fail "the item did not register again with a watcher that restarted"
layout=$(e2e_sni_menu) || e2e_fail "the item's menu could not be read over dbusmenu"
expected=$(printf 'Programar Agenda\tenabled=True\tvisible=True\nDesativar Agenda\tenabled=True\tvisible=True')
[ "$layout" = "$expected" ] || e2e_fail "the item's menu over dbusmenu is not the tray menu: $layout"
e2e_sni_click "Programar Agenda" || e2e_fail "Event clicked on Programar Agenda was not answered"
e2e_wait 30 e2e_has_window '^Zelvano - Agenda$' || e2e_fail "Programar Agenda over dbusmenu opened no entry window"
e2e_shot dbus-2-entry
class=$(xprop -id "$(e2e_window '^Zelvano - Agenda$')" WM_CLASS)
[ "$class" = "$CLASS" ] || e2e_fail "entry window class: $class"

# 5. The context menu: the call is answered at once, the program's own menu shows where the
# call says, its top-left corner there, wherever the pointer is.
xdotool mousemove 900 700
start=$(date +%s%N)
e2e_sni_call ContextMenu 5 400 300 || e2e_fail "ContextMenu was not answered within 5 s"
elapsed=$((($(date +%s%N) - start) / 1000000))
[ "$elapsed" -lt 1000 ] || e2e_fail "ContextMenu took $elapsed ms to be answered"
e2e_wait 30 e2e_has_menu "$program" || e2e_fail "ContextMenu showed no menu"
e2e_shot dbus-3-menu
at=$(xwininfo -id "$(e2e_menus "$program" | head -1)" | awk '/Absolute upper-left [XY]/ { printf "%s ", $4 }')
[ "$at" = "400 300 " ] || e2e_fail "ContextMenu at (400, 300) showed the menu at ($at)"
sleep 0.3
xdotool key Escape
e2e_sni_click "Desativar Agenda" || e2e_fail "Event clicked on Desativar Agenda was not answered"
e2e_wait_end "$program" || e2e_fail "program did not end after Desativar Agenda"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda"
[ ! -e "$E2E_AUTOSTART" ] || e2e_fail "autostart entry still there after Desativar Agenda"

# 6. A panel that comes up late, XEmbed tray first.
e2e_start_dbus
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_run; program=$E2E_LAST
e2e_wait 30 main_shown || e2e_fail "main window not shown at a logon start before the panel"
sleep 2
e2e_start_tray
sleep 1
e2e_start_sni_panel
e2e_wait 30 e2e_has_sni_item || e2e_fail "no item registered with a host that came a second after the tray"
e2e_wait 30 main_hidden || e2e_fail "the minimised window did not go to the panel once it came up"
sleep 1
e2e_shot dbus-4-late-panel
[ "$(embedded)" = 0 ] || e2e_fail "the icon is in the XEmbed tray too"
e2e_sni_call Activate 5 || e2e_fail "Activate was not answered"
e2e_wait 30 main_shown || e2e_fail "one Activate did not bring the window back"
e2e_sni_click "Desativar Agenda" || e2e_fail "Event clicked on Desativar Agenda was not answered"
e2e_wait_end "$program" || e2e_fail "program did not end after Desativar Agenda"

# 7. A host long after the XEmbed tray takes the icon from it, and gives it back when it goes.
e2e_start_dbus
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_run; program=$E2E_LAST
e2e_wait 30 in_tray || e2e_fail "a logon start beside an XEmbed tray did not put its icon there"
e2e_wait 30 main_hidden || e2e_fail "a logon start beside an XEmbed tray stayed on screen"
sleep 6
e2e_start_sni_panel
watcher=${E2E_PIDS[-1]}
e2e_wait 30 e2e_has_sni_item || e2e_fail "no item registered with a host that came 6 s after the tray"
e2e_wait 30 not_in_tray || e2e_fail "the icon stayed in the XEmbed tray once the host took it"
e2e_shot dbus-5-host-after-tray
e2e_sni_call Activate 5 || e2e_fail "Activate was not answered"
e2e_wait 30 main_shown || e2e_fail "one Activate did not bring the window back"
kill "$watcher"
e2e_wait 30 in_tray || e2e_fail "the icon did not go back to the XEmbed tray when the watcher ended"
echo "  e2e_dbus_tray: ContextMenu answered in $elapsed ms" >&2
