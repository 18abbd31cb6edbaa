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

# Without a runtime folder the registry is in the user's cache; there a link in its place is
# refused with a box of its own (not "already open"), the copy ends, and the link's target
# keeps its mode.
unset XDG_RUNTIME_DIR
export XDG_CACHE_HOME="$HOME/cache"
mkdir -p "$XDG_CACHE_HOME" "$E2E_TMP/alvo"
chmod 755 "$E2E_TMP/alvo"
ln -s "$E2E_TMP/alvo" "$XDG_CACHE_HOME/zelvano-$(id -u)"
REFUSED='^Zelvano Agenda$'
e2e_run; refused=$E2E_LAST
e2e_wait 30 e2e_has_window "$REFUSED" || e2e_fail "a linked registry folder was not refused"
[ "$(xdotool search --onlyvisible --name "$BOX" | wc -l)" -eq 1 ] || e2e_fail "a broken registry was taken for a running copy"
e2e_answer_box "$REFUSED" "$refused" || e2e_fail "the refused copy did not end after OK"
[ "$(stat -c %a "$E2E_TMP/alvo")" = 755 ] || e2e_fail "the link's target was changed"
[ "$(xdotool search --onlyvisible --name "$MAIN" | wc -l)" -eq 1 ] || e2e_fail "the refused copy showed its window"
exit 0
