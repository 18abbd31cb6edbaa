#!/usr/bin/env bash
# What a screen reader finds in the real program, read over the accessibility bus (AT-SPI):
# the main window's grid holds the day's reminders with their times and kinds as cell texts
# under the column titles, a move in it is told, a right click deletes the row under the
# pointer, and the entry window is a window whose inputs carry their names.
# Usage: e2e_acessivel.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"
e2e_start_x

MAIN='Zelvano Agenda Eletr.*nica V13'
ENTRY='^Zelvano - Agenda$'

# A session bus of our own with the accessibility bus on it. No tray watcher lives there, so
# the tray icon still goes to the X tray.
e2e_start_a11y
# Debian's own python, where python3-gi puts its module.
export ARVORE="$E2E_TMP/arvore.txt"
READER=(/usr/bin/python3 "$(dirname "$0")/acessivel.py")

# Two reminders today, one for today's date and one monthly, and one of another day.
hoje=$(date +%Y%m%d)
ano=${hoje:0:4} mes=${hoje:4:2} dia=${hoje:6:2}
outro=$(printf '%02d' $(((10#$dia % 28) + 1)))
mkdir -p "$E2E_APP/CND"
printf '|%s|%s|%s|23:58|0|%s-235800.txt|\r\n|2001|01|%s|06:15|1|20010101-061500.txt|\r\n|%s|%s|%s|07:00|0|%s-070000.txt|\r\n' \
    "$ano" "$mes" "$dia" "$hoje" "$dia" "$ano" "$mes" "$outro" "$hoje" >"$E2E_APP/AGENDA.AGD"
for f in "$hoje-235800" 20010101-061500 "$hoje-070000"; do printf 'lembrete\r\n' >"$E2E_APP/CND/$f.txt"; done

e2e_run; program=$E2E_LAST
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "main window did not appear"
"${READER[@]}" main "23:58:Data Específica" "06:15:Mensal - Todo dia $dia" \
    || e2e_fail "the grid is not read out as the day's listing"

# Down in the grid: readers are told the second row's first cell has the focus.
xdotool windowfocus --sync "$(e2e_window "$MAIN")" 2>/dev/null || true
"${READER[@]}" move Down "06:15" || e2e_fail "moving in the grid is not told to readers"

# With the second row current, a right click on the first and "Exclui Agenda" confirmed
# delete the first, the row under the pointer, with its message file.
read -r x y < <("${READER[@]}" cell 0 1) || e2e_fail "the grid's first row has no place on screen"
xdotool mousemove "$x" "$y" click 3
e2e_wait 30 e2e_has_menu "$program" || e2e_fail "a right click on the grid opened no menu"
xdotool key Down Return
BOX='^Drel Sistemas$'
e2e_wait 30 e2e_has_window "$BOX" || e2e_fail "Exclui Agenda asked nothing"
e2e_press "$BOX" Return || e2e_fail "could not confirm the deletion"
e2e_wait 30 test ! -e "$E2E_APP/CND/$hoje-235800.txt" || e2e_fail "the first row's message file is still there"
[ -e "$E2E_APP/CND/20010101-061500.txt" ] || e2e_fail "the current row's message file was deleted"
grep -q '06:15' "$E2E_APP/AGENDA.AGD" && ! grep -q '23:58' "$E2E_APP/AGENDA.AGD" \
    || e2e_fail "the index after the deletion: $(cat -A "$E2E_APP/AGENDA.AGD")"

e2e_press "$MAIN" alt+f || e2e_fail "main window cannot take the keyboard"
e2e_wait 30 e2e_has_menu "$program" || e2e_fail "Alt+F opened no menu"
xdotool key Return
e2e_wait 30 e2e_has_window "$ENTRY" || e2e_fail "Programar Agenda opened no entry window"
"${READER[@]}" entry || e2e_fail "the entry window's inputs are not read out by name"
# OK with the time the window shows (now, a free slot) opens the panel for the message.
e2e_press "$ENTRY" Return || e2e_fail "entry window cannot take the keyboard"
"${READER[@]}" confirm || e2e_fail "the message panel's inputs are not read out by name"
echo "  $E2E_NAME: ok"
