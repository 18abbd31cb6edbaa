#!/usr/bin/env bash
# Start, title, refusal of a second copy, and two copies started together.
source "$(dirname "$0")/lib.sh"
e2e_start_x

# The whole caption: nothing may be appended to it.
MAIN='^Zelvano Agenda Eletr.*nica V13\.1$'
BOX='Zelvano j.* aberto'

e2e_run; first=$E2E_LAST
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "main window did not appear"
[ -d "$E2E_APP/CND" ] || e2e_fail "CND folder not created"
[ ! -e "$E2E_APP/AGENDA.AGD" ] || e2e_fail "AGENDA.AGD created before any save"

e2e_run; second=$E2E_LAST
e2e_wait 30 e2e_has_window "$BOX" || e2e_fail "second copy showed no message box"
[ "$(xdotool search --onlyvisible --name "$MAIN" | wc -l)" -eq 1 ] || e2e_fail "a second main window appeared"
import -window root "$E2E_TMP/second.png" 2>/dev/null || true
e2e_answer_box "$BOX" "$second" || e2e_fail "second copy did not end after OK"
[ "$E2E_STATUS" = 0 ] || e2e_fail "second copy ended with status $E2E_STATUS"
kill -0 "$first" || e2e_fail "first copy is gone"
e2e_has_window "$MAIN" || e2e_fail "first copy's window is gone"
kill "$first"; wait "$first" 2>/dev/null || true

# Two copies at once: exactly one main window and one refusal.
e2e_run_two
e2e_wait 30 e2e_has_window "$BOX" || e2e_fail "neither of two simultaneous copies refused"
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "neither of two simultaneous copies ran"
sleep 1
[ "$(xdotool search --onlyvisible --name "$MAIN" | wc -l)" -eq 1 ] || e2e_fail "two main windows"
[ "$(xdotool search --onlyvisible --name "$BOX" | wc -l)" -eq 1 ] || e2e_fail "two refusals"
exit 0
