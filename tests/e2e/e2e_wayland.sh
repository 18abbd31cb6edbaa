#!/usr/bin/env bash
# A Wayland session, under a headless compositor (sway) with no X server at all:
#  1. a first start maps the main window as a native Wayland client, with the keyboard;
#  2. "Programar Agenda" from the main menu opens the entry window, which takes the keyboard;
#  3. with no notification area, a start at logon minimises as "Minimizar" does and the window
#     stays reachable; a second copy's box is answered and the first copy's window comes back
#     with the keyboard;
#  4. a panel whose StatusNotifier host comes up after the program (private session bus): the
#     minimised window goes to the panel once the host registers, ContextMenu then maps no
#     window, one Activate brings it back,
#     ContextMenu is answered at once and its menu's "Desativar Agenda" ends the program with
#     status 0.
# Usage: e2e_wayland.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_sway

MAIN='Zelvano Agenda Eletr.nica V13[^|]*'
ENTRY='Zelvano - Agenda'
BOX='Zelvano j. aberto'
main_hidden() { ! e2e_sway_windows | grep -qE "^$MAIN\|"; }

# The main menu by keyboard: "&Funções", then the item $1 steps down.
main_menu() {
    wtype -M alt f -m alt
    sleep 0.5
    local i
    for ((i = 0; i < $1; i++)); do wtype -k Down; done
    wtype -k Return
}
deactivate() {
    main_menu 1
    e2e_wait_end "$program" || e2e_fail "program did not end after Desativar Agenda"
    [ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda"
}

# 1. First start.
e2e_start; program=$E2E_LAST
e2e_wait 30 e2e_wl_focused "$MAIN" || e2e_fail "main window not mapped as a native Wayland window with the keyboard: $(e2e_sway_windows)"
e2e_wait 30 test -f "$E2E_AUTOSTART" || e2e_fail "autostart entry not created on first activation"
cp "$E2E_AUTOSTART" "$E2E_TMP/entry.saved"
sleep 0.5

# 2. The entry window.
main_menu 0
e2e_wait 30 e2e_wl_focused "$ENTRY" || e2e_fail "Programar Agenda opened no entry window with the keyboard: $(e2e_sway_windows)"
wtype -k Escape
deactivate

# 3. No notification area: minimised, never out of reach; a second copy brings it forward.
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_start; program=$E2E_LAST
e2e_wait 30 e2e_wl_shown "$MAIN" || e2e_fail "main window not mapped at logon start"
sleep 1.5
e2e_wl_shown "$MAIN" || e2e_fail "with no notification area the window left the screen"
e2e_start; second=$E2E_LAST
e2e_wait 30 e2e_wl_focused "$BOX" || e2e_fail "second copy showed no box with the keyboard: $(e2e_sway_windows)"
wtype -k Return
e2e_wait_end "$second" || e2e_fail "second copy did not end after its box was answered"
[ "$E2E_STATUS" = 0 ] || e2e_fail "second copy ended with status $E2E_STATUS"
e2e_wait 30 e2e_wl_focused "$MAIN" || e2e_fail "second copy did not bring the window forward: $(e2e_sway_windows)"
deactivate

# 4. A panel that comes up late.
e2e_start_dbus
e2e_start_sni_panel --host-after 3
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_start; program=$E2E_LAST
e2e_wait 30 e2e_wl_shown "$MAIN" || e2e_fail "main window not mapped at logon start with a bus"
e2e_wait 30 e2e_has_sni_item || e2e_fail "no item registered once the panel's host came up"
e2e_wait 30 main_hidden || e2e_fail "the minimised window did not go to the panel once it came up"
# With the window away there is no surface to hang a popup on: the call is answered and no
# window of the program's maps (the panel's own drawing of the menu is the menu there).
e2e_sni_call ContextMenu 5 || e2e_fail "ContextMenu was not answered with the window hidden"
sleep 1
[ -z "$(e2e_sway_windows)" ] || e2e_fail "ContextMenu with the window hidden mapped a window: $(e2e_sway_windows)"
e2e_sni_call Activate 5 || e2e_fail "Activate was not answered"
e2e_wait 30 e2e_wl_focused "$MAIN" || e2e_fail "Activate did not bring the window back: $(e2e_sway_windows)"
sleep 0.5
e2e_sni_call ContextMenu 5 || e2e_fail "ContextMenu was not answered within 5 s"
sleep 1
# "Desativar Agenda", the tray menu's second item.
wtype -k Down; wtype -k Down; wtype -k Return
e2e_wait_end "$program" || e2e_fail "program did not end after Desativar Agenda from the tray menu"
[ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda"
