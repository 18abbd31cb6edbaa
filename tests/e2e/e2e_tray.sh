#!/usr/bin/env bash
# Life in the notification area, on a real X server with a real tray host:
#  1. a first start creates the autostart entry and stays on screen, with its icon in the tray;
#  2. a quick right click on the icon opens the menu and it stays up, and "Desativar Agenda"
#     removes the entry and ends the program with status 0;
#  3. a start with the entry present goes straight to the tray, and leaves through the menu
#     opened by a held right press;
#  4. a second copy brings a copy in the tray back on screen; the menus opened next stay up
#     (main menu and tray menu); "Minimizar" puts it back, a double click on the icon brings
#     it back again, "Programar Agenda" from the tray opens the entry window, and
#     "Desativar Agenda" ends it;
#  5. a logon start before the panel: the window stays minimised on screen while there is no
#     notification area, and goes to the tray, icon and all, once one appears.
# Usage: e2e_tray.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_tray

MAIN='Zelvano Agenda Eletr.*nica V13'
BOX='Zelvano j.* aberto'
ENTRY='^Zelvano - Agenda$'

main_shown() { e2e_has_window "$MAIN"; }
main_hidden() { ! main_shown; }
no_menu() { ! e2e_has_menu "$program"; }

# Call before opening a menu, then menu_stays_up: the menu is up, and after a while still up
# with nothing chosen, neither closed by itself nor taken over by the release of the press
# that opened it (which would open an entry window).
note_entries() { entries=$(e2e_count_windows "$ENTRY"); }
entry_opened() { [ "$(e2e_count_windows "$ENTRY")" != "$entries" ]; }
menu_or_entry() { e2e_has_menu "$program" || entry_opened; }
menu_stays_up() {
    local what=$1
    e2e_wait 30 menu_or_entry || e2e_fail "$what opened no menu"
    sleep 1.5
    ! entry_opened || e2e_fail "$what: the menu chose its first item by itself"
    e2e_has_menu "$program" || e2e_fail "$what: the menu closed by itself"
}

# Opens the tray menu with a quick right click ("click") or a held press ("hold").
tray_menu() {
    local how=$1 ix iy
    note_entries
    read -r ix iy < <(e2e_icon_centre)
    if [ "$how" = hold ]; then
        xdotool mousemove "$ix" "$iy" mousedown 3
        sleep 0.5
        xdotool mouseup 3
    else
        xdotool mousemove "$ix" "$iy" click 3
    fi
    menu_stays_up "a right click on the icon ($how)"
}

# "Desativar Agenda", the menu's second item, by keyboard; the program must end with 0.
deactivate() {
    xdotool key --delay 100 Down Down Return
    e2e_wait_end "$program" || e2e_fail "program did not end after Desativar Agenda"
    [ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda"
    [ ! -e "$E2E_AUTOSTART" ] || e2e_fail "autostart entry still there after Desativar Agenda"
}

# 1. First start.
e2e_run; program=$E2E_LAST
e2e_wait 30 main_shown || e2e_fail "main window not shown on first start"
e2e_wait 30 test -f "$E2E_AUTOSTART" || e2e_fail "autostart entry not created on first activation"
grep -qx 'Exec="'"$E2E_APP"'/zelvano-agenda"' "$E2E_AUTOSTART" \
    || e2e_fail "Exec line: $(grep Exec "$E2E_AUTOSTART")"
grep -qx "Path=$E2E_APP/" "$E2E_AUTOSTART" || e2e_fail "Path line: $(grep Path "$E2E_AUTOSTART")"
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$E2E_AUTOSTART" || e2e_fail "desktop-file-validate refused the entry"
fi
cp "$E2E_AUTOSTART" "$E2E_TMP/entry.saved"
e2e_wait 30 e2e_has_icon || e2e_fail "no icon in the tray"
sleep 0.5
main_shown || e2e_fail "main window left the screen on first start"
e2e_shot tray-1-first-start

# 2. Quick right click: the menu opens on the press under the cursor and stays up.
tray_menu click
e2e_shot tray-2-menu
deactivate

# 3. Started at logon: the entry is there. Straight to the tray, and out through its menu.
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_run; program=$E2E_LAST
e2e_wait 30 e2e_has_icon || e2e_fail "no icon in the tray at a logon start"
e2e_wait 30 main_hidden || e2e_fail "a logon start stayed on screen"
sleep 1
main_hidden || e2e_fail "main window came back by itself"
e2e_shot tray-3-logon-start
tray_menu hold
deactivate

# 4. In the tray again; a second copy brings it back on screen.
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_run; program=$E2E_LAST
e2e_wait 30 e2e_has_icon || e2e_fail "no icon in the tray at the third start"
e2e_wait 30 main_hidden || e2e_fail "the third start stayed on screen"
e2e_run; second=$E2E_LAST
e2e_wait 30 e2e_has_window "$BOX" || e2e_fail "second copy showed no box"
e2e_answer_box "$BOX" "$second" || e2e_fail "second copy did not end after its box was answered"
[ "$E2E_STATUS" = 0 ] || e2e_fail "second copy ended with status $E2E_STATUS"
e2e_wait 30 main_shown || e2e_fail "second copy did not bring the window back from the tray"
sleep 0.5

# The main menu opened next stays up; Esc closes it.
eval "$(xdotool getwindowgeometry --shell "$(e2e_window "$MAIN")")"
# The client area (591 pixels high) sits under the menu bar.
menubar=$((HEIGHT - 591))
note_entries
xdotool mousemove $((X + 25)) $((Y + menubar / 2)) click 1
menu_stays_up "a click on Funções after the bring-to-front"
e2e_shot tray-4-main-menu
xdotool key Escape Escape
e2e_wait 30 no_menu || e2e_fail "Esc did not close the main menu"

# "Minimizar" sits at (592, 46) in the bottom panel at (8, 469) of the client area.
xdotool mousemove $((X + 8 + 592 + 72)) $((Y + menubar + 469 + 46 + 19)) click 1
e2e_wait 30 main_hidden || e2e_fail "Minimizar left the window on screen"
read -r ix iy < <(e2e_icon_centre)
xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
e2e_wait 30 main_shown || e2e_fail "double click on the icon did not bring the window back"
e2e_shot tray-5-restored

# "Programar Agenda" from the tray menu opens the entry window.
tray_menu click
xdotool key --delay 100 Down Return
e2e_wait 30 e2e_has_window "$ENTRY" || e2e_fail "Programar Agenda from the tray opened no entry window"
e2e_shot tray-6-entry-window

tray_menu click
deactivate

# 5. Started at logon before the panel: no tray host yet.
kill "$E2E_TRAY"
e2e_wait 30 e2e_ended "$E2E_TRAY" || e2e_fail "trayer did not end"
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
e2e_run; program=$E2E_LAST
e2e_wait 30 main_shown || e2e_fail "with no notification area the window left the screen"
sleep 1
main_shown || e2e_fail "with no notification area the window left the screen"
e2e_start_tray
e2e_wait 30 e2e_has_icon || e2e_fail "no icon once the tray host came up"
e2e_wait 30 main_hidden || e2e_fail "the minimised window did not go to the tray once it came up"
e2e_shot tray-7-late-panel
tray_menu click
deactivate
