#!/usr/bin/env bash
# The tray on a real panel nobody here wrote: lxqt-panel with its stock settings (both its
# StatusNotifier area and its XEmbed tray), under openbox, with a private session bus:
#  1. a first start's own item registers with the panel's watcher; its menu, read over
#     dbusmenu, lists the tray menu's items; "clicked" on "Programar Agenda" opens the entry
#     window, on "Desativar Agenda" ends the program with status 0;
#  2. a logon start goes to the panel; one left click on the icon restores the window; a right
#     click shows the panel's menu, whose "Desativar Agenda" ends the program;
#  3. a logon start 3 s before the panel: the panel gets the program's own item, and one
#     click restores.
# Usage: e2e_lxqt.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_openbox
e2e_start_dbus
mkdir -p "$XDG_CONFIG_HOME/lxqt"
cp /usr/share/lxqt/panel.conf "$XDG_CONFIG_HOME/lxqt/panel.conf"

MAIN='Zelvano Agenda Eletr.*nica V13'
ENTRY='^Zelvano - Agenda$'
main_shown() { e2e_has_window "$MAIN"; }
main_hidden() { ! main_shown; }

start_panel() {
    lxqt-panel >>"$E2E_TMP/panel.log" 2>&1 &
    PANEL=$!
    E2E_PIDS+=("$PANEL")
    e2e_wait 30 e2e_bus_has org.kde.StatusNotifierWatcher || e2e_fail "lxqt-panel's watcher did not start"
}
panel_failed() {
    e2e_shot "lxqt-$(date +%s)"
    e2e_fail "$* (lxqt-panel is process $PANEL; it logged: $(grep -v UnknownProperty "$E2E_TMP/panel.log" | tail -n 4 | tr '\n' ' '))"
}
# The program's own item (not a stand-in the panel made of an XEmbed icon) and its icon.
own_item() {
    e2e_wait 30 e2e_has_own_item "$program" || panel_failed "$1: no item of the program's own registered; $(e2e_own_item "$program" 2>&1)"
    e2e_wait 30 icon_at || panel_failed "$1: the program's icon is not on the panel"
}
# The icon's centre on the screen: the box of blue pixels (a colour the rest of the panel has
# not) in the panel's right half, where the notification area is (the window's button in the
# task bar, at the left, shows the same icon).
icon_at() {
    local box
    eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name '^LXQt Panel$' | head -1)")"
    box=$(import -window root -crop "$((WIDTH / 2))x$HEIGHT+$((X + WIDTH / 2))+$Y" png:- 2>/dev/null |
        convert png:- +repage -fx '(b > r + 0.25 && b > g + 0.1) ? 1 : 0' -format '%@' info:) || return 1
    [[ $box =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] && [ "${BASH_REMATCH[1]}" -gt 4 ] || return 1
    ix=$((X + WIDTH / 2 + BASH_REMATCH[3] + BASH_REMATCH[1] / 2))
    iy=$((Y + BASH_REMATCH[4] + BASH_REMATCH[2] / 2))
}
click_icon() {
    icon_at || panel_failed "the icon went away"
    xdotool mousemove "$ix" "$iy" click "$1"
}
deactivate() { e2e_own_deactivate "$program"; }
logon_start() {
    cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
    e2e_run; program=$E2E_LAST
}

start_panel

# 1. First start, the menu over dbusmenu.
e2e_run; program=$E2E_LAST
e2e_wait 30 main_shown || e2e_fail "main window not shown on first start"
e2e_wait 30 test -f "$E2E_AUTOSTART" || e2e_fail "autostart entry not created on first activation"
cp "$E2E_AUTOSTART" "$E2E_TMP/entry.saved"
own_item "first start"
e2e_shot lxqt-1-first-start
e2e_check_tray_layout "$program"
e2e_own_click "$program" "Programar Agenda" || e2e_fail "Programar Agenda could not be chosen"
e2e_wait 30 e2e_has_window "$ENTRY" || e2e_fail "clicked on Programar Agenda opened no entry window"
deactivate

# 2. A logon start goes to the panel; one click brings it back; the panel's own menu.
logon_start
own_item "logon start"
e2e_wait 30 main_hidden || e2e_fail "a logon start stayed on screen"
click_icon 1
e2e_wait 30 main_shown || panel_failed "one click on the panel's icon did not bring the window back"
e2e_shot lxqt-2-restored
click_icon 3
e2e_wait 30 e2e_has_menu "$PANEL" || panel_failed "a right click on the icon showed no menu"
e2e_shot lxqt-3-menu
xdotool key --delay 100 Down Down Return
e2e_wait_end "$program" || panel_failed "Desativar Agenda from the panel's menu did not end the program"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda from the panel's menu"

# 3. The panel comes up 3 s after a logon start.
kill "$PANEL"
e2e_wait 30 e2e_ended "$PANEL" || e2e_fail "lxqt-panel did not end"
logon_start
# Minimised, not shown, under openbox while there is no panel.
e2e_wait 30 xdotool search --name "$MAIN" || e2e_fail "main window not created at a logon start"
sleep 3
late=$(date +%s%N)
start_panel
own_item "panel started after the program"
late=$((($(date +%s%N) - late) / 1000000))
e2e_wait 30 main_hidden || panel_failed "the minimised window did not go to the panel once it came up"
e2e_shot lxqt-4-late-panel
click_icon 1
e2e_wait 30 main_shown || panel_failed "one click on the late panel's icon did not bring the window back"
deactivate
echo "  e2e_lxqt: the late panel had the program's own item and its icon within $late ms of its start" >&2
