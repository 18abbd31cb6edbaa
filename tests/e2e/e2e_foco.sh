#!/usr/bin/env bash
# Keyboard focus under a window manager that does not hand it to every new window (openbox
# keeps it from tool windows): the entry window opened from the main menu takes the keyboard,
# and what is typed lands in its time field.
# Usage: e2e_foco.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x
e2e_start_openbox

MAIN='Zelvano Agenda Eletr.*nica V13'
ENTRY='^Zelvano - Agenda$'
active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(e2e_window "$1")" ]; }

e2e_run; program=$E2E_LAST
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "main window not shown"
# The user works in the main window first (on a loaded machine openbox may not have handed
# it the keyboard at start).
xdotool windowactivate --sync "$(e2e_window "$MAIN")" 2>/dev/null || true
e2e_wait 30 active_is "$MAIN" || e2e_fail "the main window did not get the keyboard (active: $(xdotool getactivewindow getwindowname 2>&1))"
sleep 0.5
# "Programar Agenda", the first item of "&Funções".
xdotool key --delay 100 alt+f Return
e2e_wait 30 e2e_has_window "$ENTRY" || e2e_fail "Programar Agenda opened no entry window"
e2e_wait 10 active_is "$ENTRY" || e2e_fail "the entry window did not get the keyboard"
e2e_shot foco-1-entry
