#!/usr/bin/env bash
# A Wayland compositor that leaves the title bars to its clients, as GNOME's does (weston,
# headless, with no X server):
#  1. the main window maps at its own width with a title bar of the program's and no button in
#     it (Qt's own bar, with minimise, maximise and close, makes the window 6 pixels wider);
#  2. "Programar Agenda" opens the entry window at its size plus its bar, which holds
#     minimise and close only; the bar's close button closes it.
# What the compositor is asked for is read from the program's own protocol log.
# Usage: e2e_weston.sh /path/to/zelvano-agenda
source "$(dirname "$0")/lib.sh"

# Weston runs as an ordinary user (root's runtime folder is refused by some clients); its
# panel clock ticks every second so that a screenshot is never waiting for a repaint.
run="$E2E_TMP/weston-run" as=()
mkdir -p "$run"
chmod 700 "$run"
printf '[shell]\nclock-format=seconds\n' >"$E2E_TMP/weston.ini"
if [ "$(id -u)" = 0 ]; then
    chown nobody "$run"
    chmod 755 "$E2E_TMP"
    chmod 644 "$E2E_TMP/weston.ini"
    as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
env -u DISPLAY XDG_RUNTIME_DIR="$run" "${as[@]}" weston --config="$E2E_TMP/weston.ini" \
    --backend=headless-backend.so --use-pixman --width=1280 --height=1024 --idle-time=0 \
    --socket=wayland-1 --debug >"$E2E_TMP/weston.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait 30 test -S "$run/wayland-1" || e2e_fail "weston did not start"
export WAYLAND_DISPLAY="$run/wayland-1" QT_QPA_PLATFORM=wayland
unset DISPLAY
e2e_start_a11y

MAIN='Zelvano Agenda Eletrônica V13'
ENTRY='Zelvano - Agenda'
READER=(/usr/bin/python3 "$(dirname "$0")/acessivel.py")
# The sizes the program asked the compositor to show its windows at, one a line.
sizes() { sed -n 's/.*set_window_geometry(0, 0, \([0-9]*\), \([0-9]*\)).*/\1x\2/p' "${E2E_LOG[$program]}"; }
closed() { grep -c 'xdg_toplevel@[0-9]*\.destroy' "${E2E_LOG[$program]}" || true; }
shot() { (cd "$E2E_SHOTS" && WAYLAND_DISPLAY="$WAYLAND_DISPLAY" timeout 10 weston-screenshooter \
    && mv wayland-screenshot-*.png "$1.png") >/dev/null 2>&1 || true; }

# 1. The main window.
WAYLAND_DEBUG=client e2e_start; program=$E2E_LAST
"${READER[@]}" bar "$MAIN" || e2e_fail "the main window's title bar is not one without buttons"
e2e_wait 10 grep -q set_window_geometry "${E2E_LOG[$program]}" || e2e_fail "the main window never mapped"
[ "$(sizes | sort -u)" = "$(sizes | head -1)" ] && [[ "$(sizes | head -1)" == 793x* ]] \
    || e2e_fail "the main window was not mapped at its own width (793): $(sizes | sort -u | tr '\n' ' ')"
shot main

# 2. The entry window, through its menu item, and closed by its bar.
"${READER[@]}" press "$MAIN" "Programar Agenda" || e2e_fail "could not choose Programar Agenda"
"${READER[@]}" bar "$ENTRY" "Minimizar janela" "Fechar janela" \
    || e2e_fail "the entry window's title bar does not hold minimise and close only"
e2e_wait 10 eval 'sizes | grep -qx 740x417' || e2e_fail "the entry window was not mapped at 740x395 plus its bar: $(sizes | sort -u | tr '\n' ' ')"
shot entry
before=$(closed)
"${READER[@]}" press "$ENTRY" "Fechar janela" || e2e_fail "could not press the bar's close button"
e2e_wait 30 eval '[ "$(closed)" -gt "$before" ]' || e2e_fail "the bar's close button left the entry window up"
exit 0
