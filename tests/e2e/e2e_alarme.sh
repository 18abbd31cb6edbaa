#!/usr/bin/env bash
# A reminder for the coming minute rings: the sound plays through a PulseAudio null sink (when
# pulseaudio is installed), then the alert window shows it; OK closes it and the program goes on.
source "$(dirname "$0")/lib.sh"
e2e_start_x

BELL=/usr/share/sounds/freedesktop/stereo/bell.oga
if [ -e "$BELL" ] && e2e_start_null_sound; then
    # libsndfile goes by the content, not the name: an Ogg sound plays as well.
    cp "$BELL" "$E2E_APP/AGENDA.WAV"
fi

# The coming minute, or the one after when this one is nearly over.
offset=60
[ "$(date +%S | sed 's/^0//')" -ge 45 ] && offset=120
due=$(date -d "@$(($(date +%s) + offset))" '+%Y|%m|%d|%H:%M')
printf '|%s|0|20300101-000000.txt|\r\n' "$due" >"$E2E_APP/AGENDA.AGD"
mkdir -p "$E2E_APP/CND"
printf 'Lembrete de teste\r\n' >"$E2E_APP/CND/20300101-000000.txt"

MAIN='Zelvano Agenda Eletr.*nica V13'
ALERT='Zelvano Agenda: 20300101-000000'
e2e_run; app=$E2E_LAST
e2e_wait 15 e2e_has_window "$MAIN" || e2e_fail "main window did not appear"
e2e_wait 170 e2e_has_window "$ALERT" || e2e_fail "the alert did not come"
sleep 0.5
import -window root "$E2E_TMP/alerta.png" 2>/dev/null || true
[ -n "${E2E_SHOT:-}" ] && cp "$E2E_TMP/alerta.png" "$E2E_SHOT"
e2e_press "$ALERT" Return
e2e_wait 10 bash -c "! xdotool search --onlyvisible --name '$ALERT' | grep -q ." || e2e_fail "OK did not close the alert"
kill -0 "$app" || e2e_fail "the program is gone"
exit 0
