#!/usr/bin/env bash
# The tray on a real Wayland panel nobody here wrote: waybar's tray module under a headless
# sway, with a private session bus; the icon is clicked through a virtual pointer:
#  1. a first start's own item registers with waybar's watcher; its menu, read over dbusmenu,
#     lists the tray menu's items; "clicked" on "Programar Agenda" opens the entry window, on
#     "Desativar Agenda" ends the program with status 0;
#  2. a logon start goes to the panel; one left click on the icon restores the window; a right
#     click shows waybar's menu, whose "Desativar Agenda" ends the program;
#  3. a logon start 3 s before waybar: waybar gets the program's own item, and one click
#     restores.
# Usage: e2e_waybar.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_sway
e2e_start_dbus
# The tray alone at the left of a bar at the top: the first icon's centre is at (12, 15); its
# menu opens under the pointer, items 24 pixels high, the second one's centre 52 down.
mkdir -p "$XDG_CONFIG_HOME/waybar"
cat >"$XDG_CONFIG_HOME/waybar/config" <<'JSON'
{ "layer": "top", "position": "top", "height": 30, "modules-left": ["tray"],
  "tray": { "icon-size": 20, "spacing": 4 } }
JSON
echo '* { border: none; margin: 0; padding: 0; min-height: 0; } menu menuitem { min-height: 24px; }' \
    >"$XDG_CONFIG_HOME/waybar/style.css"
ICON=(12 15)
SECOND_ITEM=(60 52)

MAIN='Zelvano Agenda Eletr.nica V13[^|]*'
ENTRY='Zelvano - Agenda'
main_exists() { e2e_sway_windows | grep -qE "^$MAIN\|"; }
main_hidden() { ! main_exists; }

start_panel() {
    waybar >>"$E2E_TMP/waybar.log" 2>&1 &
    PANEL=$!
    E2E_PIDS+=("$PANEL")
    e2e_wait 30 e2e_bus_has org.kde.StatusNotifierWatcher || e2e_fail "waybar's watcher did not start"
}
panel_failed() { e2e_fail "$* (waybar: $(grep -v '^\[.*info\]' "$E2E_TMP/waybar.log" | tail -n 5 | tr '\n' ' '))"; }
own_item() {
    e2e_wait 30 e2e_has_own_item "$program" || panel_failed "$1: no item of the program's own registered; $(e2e_own_item "$program" 2>&1)"
}
# waybar fetches the item's icon before it shows it.
click_icon() {
    sleep 1
    e2e_wl_click "${ICON[@]}"
}
deactivate() { e2e_own_deactivate "$program"; }
logon_start() {
    cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
    e2e_start; program=$E2E_LAST
}

start_panel

# 1. First start, the menu over dbusmenu.
e2e_start; program=$E2E_LAST
e2e_wait 30 e2e_wl_shown "$MAIN" || e2e_fail "main window not mapped on first start: $(e2e_sway_windows)"
e2e_wait 30 test -f "$E2E_AUTOSTART" || e2e_fail "autostart entry not created on first activation"
cp "$E2E_AUTOSTART" "$E2E_TMP/entry.saved"
own_item "first start"
e2e_check_tray_layout "$program"
e2e_own_click "$program" "Programar Agenda" || e2e_fail "Programar Agenda could not be chosen"
e2e_wait 30 e2e_wl_shown "$ENTRY" || e2e_fail "clicked on Programar Agenda opened no entry window: $(e2e_sway_windows)"
deactivate

# 2. A logon start goes to the panel; one click on its icon brings it back.
logon_start
own_item "logon start"
e2e_wait 30 main_hidden || e2e_fail "a logon start stayed on screen: $(e2e_sway_windows)"
click_icon
e2e_wait 30 e2e_wl_shown "$MAIN" || panel_failed "one click on waybar's icon did not bring the window back"
# waybar's own menu, from a right click: its "Desativar Agenda" ends the program. (A panel is
# a layer surface without the keyboard: its menu is used with the pointer.)
e2e_wl_click "${ICON[@]}" right
sleep 1
e2e_wl_click "${SECOND_ITEM[@]}"
e2e_wait_end "$program" || panel_failed "Desativar Agenda from waybar's menu did not end the program"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda from waybar's menu"

# 3. waybar comes up 3 s after a logon start.
kill "$PANEL"
e2e_wait 30 e2e_ended "$PANEL" || e2e_fail "waybar did not end"
logon_start
e2e_wait 30 main_exists || e2e_fail "main window not mapped at a logon start with no panel: $(e2e_sway_windows)"
sleep 3
late=$(date +%s%N)
start_panel
own_item "waybar started after the program"
late=$((($(date +%s%N) - late) / 1000000))
e2e_wait 30 main_hidden || panel_failed "the minimised window did not go to waybar once it came up"
click_icon
e2e_wait 30 e2e_wl_shown "$MAIN" || panel_failed "one click on the late waybar's icon did not bring the window back"
deactivate
echo "  e2e_waybar: the late panel had the program's own item within $late ms of its start" >&2
