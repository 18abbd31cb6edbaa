#!/usr/bin/env bash
# A reminder that fell due while the program was not running rings as soon as it starts again,
# and only once: a second start after a kill does not ring it again, nor does one after a
# read-only memory. A link or a FIFO in the memory's place neither holds the start up nor is
# written through.
source "$(dirname "$0")/lib.sh"
e2e_start_x

agora=$(date +%s)
# Due three minutes ago, saved yesterday; the last run looked up to ten minutes ago.
due=$(date -d "@$((agora - 180))" '+%Y|%m|%d|%H:%M')
nome=$(date -d "@$((agora - 86400))" '+%Y%m%d-%H%M%S')
printf '|%s|0|%s.txt|\r\n' "$due" "$nome" >"$E2E_APP/AGENDA.AGD"
mkdir -p "$E2E_APP/CND"
printf 'Perdido enquanto desligado\r\n' >"$E2E_APP/CND/$nome.txt"
date -d "@$((agora - 600))" '+%Y%m%d-%H%M' >"$E2E_APP/AGENDA.AVS"
# The power cut also killed a save midway.
printf '|2024|05' >"$E2E_APP/AGENDA.AGD.QxWzTr"

MAIN='Zelvano Agenda Eletr.*nica V13'
ALERT="Zelvano Agenda: $nome"
e2e_run; app=$E2E_LAST
e2e_wait 15 e2e_has_window "$MAIN" || e2e_fail "main window did not appear"
[ ! -e "$E2E_APP/AGENDA.AGD.QxWzTr" ] || e2e_fail "the killed save's temporary file is still there"
# At once, not at the first tick 15 seconds later.
e2e_wait 10 e2e_has_window "$ALERT" || e2e_fail "the missed reminder was not announced at start"
e2e_press "$ALERT" Return
e2e_wait 10 bash -c "! xdotool search --onlyvisible --name '$ALERT' | grep -q ." || e2e_fail "OK did not close the alert"
kill -9 "$app"
wait "$app" 2>/dev/null || true  # no "Killed" line from the shell
e2e_wait_end "$app" 10 || e2e_fail "the program did not end"

e2e_run; app=$E2E_LAST
e2e_wait 15 e2e_has_window "$MAIN" || e2e_fail "main window did not appear the second time"
# Past the first tick of the second run.
sleep 20
e2e_has_window "$ALERT" && e2e_fail "the reminder was announced a second time"
kill -0 "$app" || e2e_fail "the program is gone"
kill "$app"; e2e_wait_end "$app" 10 || e2e_fail "the program did not end"

# A read-only memory in a folder the user can write is replaced: the missed reminder rings at
# one start, not at every start.
printf '|%s|0|%s.txt|\r\n' "$(date -d "@$((agora - 120))" '+%Y|%m|%d|%H:%M')" "$nome" >"$E2E_APP/AGENDA.AGD"
date -d "@$((agora - 600))" '+%Y%m%d-%H%M' >"$E2E_APP/AGENDA.AVS"
chmod 444 "$E2E_APP/AGENDA.AVS"
for vez in 1 2; do
    e2e_run; app=$E2E_LAST
    e2e_wait 15 e2e_has_window "$MAIN" || e2e_fail "main window did not appear over a read-only memory"
    if [ $vez = 1 ]; then
        e2e_wait 10 e2e_has_window "$ALERT" || e2e_fail "the missed reminder was not announced over a read-only memory"
        e2e_press "$ALERT" Return
    else
        sleep 3
        e2e_has_window "$ALERT" && e2e_fail "a read-only memory had the reminder announced again"
    fi
    kill "$app"; e2e_wait_end "$app" 10 || e2e_fail "the program did not end"
done

# A link or a FIFO in its place: the window comes at once, the user is told once, the link's
# target is untouched and a plain file takes the memory's place.
BOX='^Zelvano Agenda Eletr.*nica$'
printf 'alvo\n' >"$E2E_TMP/alvo"
for caso in link fifo; do
    rm -f "$E2E_APP/AGENDA.AVS"
    if [ $caso = link ]; then ln -s "$E2E_TMP/alvo" "$E2E_APP/AGENDA.AVS"; else mkfifo "$E2E_APP/AGENDA.AVS"; fi
    e2e_run; app=$E2E_LAST
    e2e_wait 2 e2e_has_window "$MAIN" || e2e_fail "no main window within 2 s over a memory that is a $caso"
    e2e_wait 10 e2e_has_window "$BOX" || e2e_fail "a memory that is a $caso was not told"
    [ "$(cat "$E2E_TMP/alvo")" = alvo ] || e2e_fail "the memory was written through a link"
    [ -f "$E2E_APP/AGENDA.AVS" ] && [ ! -L "$E2E_APP/AGENDA.AVS" ] || e2e_fail "the $caso was not replaced"
    e2e_press "$BOX" Return
    e2e_wait 10 bash -c "! xdotool search --onlyvisible --name '$BOX' | grep -q ." || e2e_fail "OK did not close the box"
    kill "$app"; e2e_wait_end "$app" 10 || e2e_fail "the program did not end"
done
exit 0
