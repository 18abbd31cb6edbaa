#!/usr/bin/env bash
# Programming a reminder in the real program: "Programar Agenda" from the main menu, a time,
# OK, a message, "&Salvar"; the index gets exactly one line and the message its file. The
# same slot again is refused with a message box, and nothing more is written.
# Usage: e2e_programa.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x

MAIN='Zelvano Agenda Eletr.*nica V13'
ENTRY='^Zelvano - Agenda$'
# Message boxes carry the program's name alone as their title.
BOX='^Zelvano Agenda Eletr[^ ]*nica$'
INDEX="$E2E_APP/AGENDA.AGD"
# Two hours from now: never due while the script runs. The seconds-less time is typed digit by
# digit into the time edit.
hora=$(printf '%02d' $(((10#$(date +%H) + 2) % 24)))
minuto=37
mensagem='Levar o carro à revisão'
dias=("$(date +%Y%m%d)")

no_box() { ! e2e_has_window "$BOX"; }

e2e_run; program=$E2E_LAST
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "main window did not appear"
sleep 0.5

# Alt+F opens "&Funções" with its first item chosen; Enter takes "Programar Agenda".
e2e_press "$MAIN" alt+f || e2e_fail "main window cannot take the keyboard"
e2e_wait 30 e2e_has_menu "$program" || e2e_fail "Alt+F opened no menu"
xdotool key Return
e2e_wait 30 e2e_has_window "$ENTRY" || e2e_fail "Programar Agenda opened no entry window"
sleep 0.5

# A click in the time edit (at 134, 199 in the window, 57 x 28), then the typed digits replace
# the whole time.
eval "$(xdotool getwindowgeometry --shell "$(e2e_window "$ENTRY")")"
xdotool windowfocus --sync "$WINDOW" 2>/dev/null || true
xdotool mousemove $((X + 134 + 28)) $((Y + 199 + 14)) click 1
sleep 0.3
xdotool key --delay 60 ctrl+a "${hora:0:1}" "${hora:1:1}" "${minuto:0:1}" "${minuto:1:1}"
sleep 0.5
e2e_shot programa-1-time
# Enter is OK wherever the focus is; the confirmation panel opens with the memo focused.
xdotool key Return
sleep 1
xdotool type --delay 60 "$mensagem"
sleep 0.5
e2e_shot programa-2-message
xdotool key alt+s
e2e_wait 30 test -s "$INDEX" || e2e_fail "AGENDA.AGD not written after Salvar"
dias+=("$(date +%Y%m%d)")

# Exactly one line, ending in CR LF: |yyyy|mm|dd|hh:mm|0|yyyymmdd-hhmmss.txt|
linhas=$(grep -c '' "$INDEX")
[ "$linhas" = 1 ] || e2e_fail "AGENDA.AGD has $linhas lines: $(cat -A "$INDEX")"
[ "$(tail -c 2 "$INDEX" | od -An -tx1 | tr -d ' ')" = 0d0a ] || e2e_fail "the line does not end in CR LF: $(cat -A "$INDEX")"
[ "$(tr -cd '\r' <"$INDEX" | wc -c)" = 1 ] || e2e_fail "stray CR in AGENDA.AGD: $(cat -A "$INDEX")"
linha=$(tr -d '\r\n' <"$INDEX")
padrao='^\|([0-9]{4})\|([0-9]{2})\|([0-9]{2})\|([0-9]{2}:[0-9]{2})\|0\|([0-9]{8}-[0-9]{6}\.txt)\|$'
[[ $linha =~ $padrao ]] || e2e_fail "index line of the wrong form: $linha"
dia="${BASH_REMATCH[1]}${BASH_REMATCH[2]}${BASH_REMATCH[3]}"
[[ " ${dias[*]} " == *" $dia "* ]] || e2e_fail "reminder for $dia, not for today (${dias[*]}): $linha"
[ "${BASH_REMATCH[4]}" = "$hora:$minuto" ] || e2e_fail "reminder at ${BASH_REMATCH[4]}, typed $hora:$minuto"
arquivo="$E2E_APP/CND/${BASH_REMATCH[5]}"
[ -f "$arquivo" ] || e2e_fail "message file ${BASH_REMATCH[5]} missing"
# Every character fits Windows-1252, so that is how the message is kept.
[ "$(iconv -f WINDOWS-1252 -t UTF-8 "$arquivo")" = "$mensagem" ] \
    || e2e_fail "message file holds: $(od -c "$arquivo" | head -3)"
[ "$(find "$E2E_APP/CND" -type f | wc -l)" = 1 ] || e2e_fail "more than one message file"
cp "$INDEX" "$E2E_TMP/index.saved"
sleep 0.5
e2e_shot programa-3-saved

# The same slot again: OK is refused with a message box, and nothing is written.
e2e_has_window "$ENTRY" || e2e_fail "the entry window closed after Salvar"
e2e_press "$ENTRY" Return || e2e_fail "entry window cannot take the keyboard after Salvar"
e2e_wait 30 e2e_has_window "$BOX" || e2e_fail "the same slot again showed no message box"
sleep 0.5
e2e_shot programa-4-refused
e2e_press "$BOX" Return || e2e_fail "could not answer the refusal"
e2e_wait 30 no_box || e2e_fail "the refusal did not close"
cmp -s "$INDEX" "$E2E_TMP/index.saved" || e2e_fail "AGENDA.AGD changed by a refused reminder: $(cat -A "$INDEX")"
[ "$(find "$E2E_APP/CND" -type f | wc -l)" = 1 ] || e2e_fail "a refused reminder wrote a message file"
kill -0 "$program" || e2e_fail "the program is gone"
