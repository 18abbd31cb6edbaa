#!/usr/bin/env bash
# A blind user with Orca itself, keyboard only, under Openbox: what Orca says is read from its
# debug log ("SPEECH OUTPUT" lines; speech goes to speech-dispatcher's dummy module). The
# calendars say their date on focus and after a move, a month change is told, the time field
# is read whole, the bad-time box gives the keyboard back to the entry window's time field, a
# save is told, and the alert is read with its kind, time and message when it opens.
# Usage: e2e_orca.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x

MAIN='Zelvano Agenda Eletr.*nica V13'
ENTRY='^Zelvano - Agenda$'
BOX='^Zelvano Agenda Eletr[^ ]*nica$'
MENSAGEM='Levar o carro na revisão'
MESES=(janeiro fevereiro março abril maio junho julho agosto setembro outubro novembro dezembro)

e2e_start_a11y
e2e_start_openbox
# Speech goes nowhere: the dummy module stands in for a synthesizer, and plays into a null sink
# (it will not start without a sound server). Orca logs what it says either way.
e2e_start_null_sound || true
mkdir -p "$E2E_TMP/speechd"
printf 'AddModule "dummy" "sd_dummy" ""\nDefaultModule dummy\n' >"$E2E_TMP/speechd/speechd.conf"
export SPEECHD_ADDRESS="unix_socket:$E2E_TMP/speechd.sock"
speech-dispatcher -s -t 0 -C "$E2E_TMP/speechd" -L "$E2E_TMP" -S "$E2E_TMP/speechd.sock" >"$E2E_TMP/speechd.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait 20 test -S "$E2E_TMP/speechd.sock" || echo "  $E2E_NAME: speech-dispatcher did not start; Orca still logs what it says" >&2
LOG="$E2E_TMP/orca.log"
# Orca writes its log through Python's buffer, which is flushed line by line only to a terminal:
# script(1) gives it one and copies each line to the log at once.
script -q -f -c "orca --debug-file=/dev/tty -u '$E2E_TMP/orca-prefs'" "$LOG" >/dev/null 2>&1 &
E2E_PIDS+=($!)

# What Orca said since the last mark, one utterance a line.
MARCA=0
marca() { MARCA=$(grep -c 'SPEECH OUTPUT' "$LOG" 2>/dev/null || true); }
falado() { grep 'SPEECH OUTPUT' "$LOG" | tail -n +$((MARCA + 1)) | sed "s/^.*SPEECH OUTPUT: //" | tr -d '\r'; }
ouviu() { falado | tr '\n' ' ' | grep -qE "$1"; }
espera_ouvir() { e2e_wait "${2:-30}" ouviu "$1"; }
nao_ouviu() { e2e_fail "$1; Orca said: $(falado | tr '\n' ' ')"; }
# Keys, each logged with the time it was typed.
tecla() {
    echo "$(date +%T.%N) $*" >>"$E2E_TMP/teclas.log"
    xdotool key --delay 80 "$@"
}
# Orca has said something since the mark and then nothing for 3 seconds (at most $1 seconds).
espera_calar() {
    local fim=$((SECONDS + $1)) antes=-1 agora
    while [ $SECONDS -lt $fim ]; do
        agora=$(grep -c 'SPEECH OUTPUT' "$LOG")
        [ "$agora" -gt "$MARCA" ] && [ "$agora" = "$antes" ] && return 0
        antes=$agora
        sleep 3
    done
    return 1
}
# Tab until Orca says what is looked for (at most $2 presses). On a loaded machine Orca may
# speak many seconds after the key: each Tab waits until it has been told.
tab_ate() {
    local i
    for ((i = 0; i < $2; i++)); do
        marca
        tecla Tab
        e2e_wait 4 ouviu "$1" && return 0
        espera_calar 30 || true
        ouviu "$1" && return 0
    done
    return 1
}
# "9 de dezembro de 2026" for a date given to date(1).
por_extenso() {
    local d
    d=$(date -d "$1" +%-d:%-m:%Y)
    IFS=: read -r dia mes ano <<<"$d"
    echo "$dia de ${MESES[mes - 1]} de $ano"
}
e2e_wait 60 grep -q 'SPEECH OUTPUT' "$LOG" || e2e_fail "Orca said nothing at start: $(tail -5 "$LOG")"

marca
e2e_run; program=$E2E_LAST
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "main window did not appear"
espera_ouvir "Zelvano Agenda Eletr.*nica V13" 40 || nao_ouviu "the main window was not read"

# The main window's calendar: today on focus, tomorrow after Right, next month after Page Down.
hoje=$(date +%F)
tab_ate "Agenda para.*$(por_extenso "$hoje")" 5 || nao_ouviu "the calendar did not say today's date on focus"
marca
tecla Right
espera_ouvir "$(por_extenso "$hoje + 1 day")" || nao_ouviu "Right in the calendar did not say tomorrow's date"
marca
tecla Next
proximo=$(date -d "$(date +%Y-%m-15) + 1 month" +%-m:%Y)
espera_ouvir "de ${MESES[${proximo%:*} - 1]} de ${proximo#*:}" || nao_ouviu "Page Down did not say the next month"
marca
tecla Prior
espera_ouvir "de ${MESES[10#$(date +%m) - 1]} de" || nao_ouviu "Page Up did not say this month"

# The entry window: its calendar says the date, its time field the whole time.
tecla alt+f
e2e_wait 60 e2e_has_menu "$program" || e2e_fail "Alt+F opened no menu"
tecla Return
e2e_wait 30 e2e_has_window "$ENTRY" || e2e_fail "Programar Agenda opened no entry window"
tab_ate "Data do Aviso.*$(por_extenso "$hoje")" 5 || nao_ouviu "the entry window's calendar did not say the date"
tab_ate "Hora do Aviso" 2 || nao_ouviu "Tab did not reach the time field"
ouviu "Hora do Aviso.*[0-9]{2}:[0-9]{2}" || nao_ouviu "the time field was not read whole on focus"

# A bad time: the box, then the keyboard is back in the time field of the entry window.
marca
tecla ctrl+a 9 9 9 9
sleep 1
tecla shift+Tab
espera_ouvir "Data do Aviso" || nao_ouviu "shift+Tab did not go back to the calendar"
tab_ate "Hora do Aviso.*99:99" 1 || nao_ouviu "the time field did not read 99:99 after typing"
marca
tecla Return
espera_ouvir "Campo Hora est.*Verifique" || nao_ouviu "the bad-time box was not read"
e2e_wait 10 e2e_has_window "$BOX" || e2e_fail "no box for the bad time"
marca
tecla Return
e2e_wait 30 bash -c "! xdotool search --onlyvisible --name '$BOX' | grep -q ." || e2e_fail "the box did not close"
espera_ouvir "Hora do Aviso.*99:99" || nao_ouviu "the focus did not come back to the time field"
[[ $(xdotool getactivewindow getwindowname 2>/dev/null) =~ $ENTRY ]] \
    || e2e_fail "after the box the active window is '$(xdotool getactivewindow getwindowname 2>/dev/null)'"

# A reminder for this minute (the next one when little of it is left), saved, then its alert.
[ "$(date +%S | sed 's/^0//')" -ge 35 ] && sleep $((61 - 10#$(date +%S)))
hora=$(date +%H:%M)
marca
tecla ctrl+a "${hora:0:1}" "${hora:1:1}" "${hora:3:1}" "${hora:4:1}" Return
sleep 1
xdotool type --delay 40 "$MENSAGEM"
marca
tecla alt+s
espera_ouvir "Aviso gravado.*$hora" || nao_ouviu "the save was not told"
grep -q "|$hora|" "$E2E_APP/AGENDA.AGD" 2>/dev/null || e2e_fail "the reminder was not written: $(cat "$E2E_APP/AGENDA.AGD")"
marca
espera_ouvir "$MENSAGEM" 90 || nao_ouviu "the alert's message was not read"
ouviu "AGENDA ESPEC.FICA.*Hora:$hora" || nao_ouviu "the alert's kind and time were not read"
kill -0 "$program" || e2e_fail "the program is gone"
echo "  $E2E_NAME: ok"
