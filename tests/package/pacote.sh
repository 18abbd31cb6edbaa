#!/usr/bin/env bash
# The Debian package as a user gets it: installed with apt, the program started from /usr/bin
# by a user who cannot write there, its data in that user's own folder, then removed again;
# first lintian, Debian's package checker, must find neither an error nor a warning.
# Usage: pacote.sh BUILD_FOLDER (holding zelvano-agenda_*.deb). Needs root or sudo without a
# password; a machine where the package is installed for real is left alone.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=$(realpath "$(ls "$1"/zelvano-agenda_*.deb | head -1)")
name=pacote

# What a distribution would refuse, checked before anything is installed (and also where the
# installing part is skipped). An accepted exception needs an override with its reason.
command -v lintian >/dev/null || { echo "  $name: lintian is not installed" >&2; exit 1; }
lintian --fail-on error,warning "$deb" || { echo "  $name: lintian found errors or warnings in $deb" >&2; exit 1; }

if dpkg-query -W -f='${Status}' zelvano-agenda 2>/dev/null | grep -q 'ok installed'; then
    echo "  $name: zelvano-agenda is installed on this machine; not touching it (skipped)"
    exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    if ! sudo -n true 2>/dev/null; then
        echo "  $name: needs root or sudo without a password (skipped)"
        exit 0
    fi
    sudo="sudo -n"
fi
apt_opts=(-o DPkg::Lock::Timeout=600)
remove_package() {
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" remove -y -qq zelvano-agenda >/dev/null 2>&1 || true
}
trap remove_package EXIT
$sudo env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" install -y -qq "$deb" >/dev/null \
    || { echo "  $name: apt-get install $deb failed" >&2; exit 1; }

source "$here/../e2e/lib.sh" /usr/bin/zelvano-agenda
E2E_NAME=$name
trap 'e2e_cleanup; remove_package' EXIT

for f in /usr/share/applications/zelvano-agenda.desktop /usr/share/icons/hicolor/48x48/apps/zelvano-agenda.png \
    /usr/share/icons/hicolor/scalable/apps/zelvano-agenda.svg /usr/share/zelvano-agenda/AGENDA.WAV; do
    [ -f "$f" ] || e2e_fail "$f not installed"
done
desktop-file-validate /usr/share/applications/zelvano-agenda.desktop || e2e_fail "installed launcher is invalid"
appstreamcli validate --no-net /usr/share/metainfo/example.zelvano.Agenda.metainfo.xml >/dev/null \
    || e2e_fail "installed metainfo is invalid"

# The program runs as an ordinary user: root may write in /usr/bin, a user may not.
run_as=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$E2E_TMP"
    chown -R nobody:nogroup "$HOME" "$XDG_RUNTIME_DIR"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
export XDG_DATA_HOME="$HOME/dados"
DATA="$XDG_DATA_HOME/zelvano-agenda"
bin_before=$(ls /usr/bin | wc -l)

start_installed() {
    E2E_RUNS=$((E2E_RUNS + 1))
    local log="$E2E_TMP/run.$E2E_RUNS.log"
    (cd / && exec "${run_as[@]}" /usr/bin/zelvano-agenda) >"$log" 2>&1 &
    E2E_LAST=$!
    E2E_PIDS+=($E2E_LAST)
    E2E_LOG[$E2E_LAST]=$log
}

e2e_start_x
MAIN='^Zelvano Agenda Eletr.*nica V13\.1$'
start_installed; first=$E2E_LAST
e2e_wait 30 e2e_has_window "$MAIN" || e2e_fail "installed program showed no main window"
[ -d "$DATA/CND" ] || e2e_fail "CND not created in the user's data folder $DATA"
[ "$(stat -c %a "$DATA")" = 700 ] || e2e_fail "the user's data folder is not private"
[ ! -e /usr/bin/CND ] && [ "$(ls /usr/bin | wc -l)" = "$bin_before" ] || e2e_fail "data written in /usr/bin"
icon=$(xprop -id "$(e2e_window "$MAIN")" _NET_WM_ICON)
[[ $icon == *"Icon (48 x 48)"* ]] || e2e_fail "main window has no icon"
kill "$first"; e2e_wait_end "$first" 10 || e2e_fail "program did not end"

# A data folder that can be neither used nor created: told at start, and the program ends.
echo x >"$HOME/arquivo"
XDG_DATA_HOME="$HOME/arquivo" start_installed; refused=$E2E_LAST
BOX='^Zelvano Agenda Eletr.*nica$'
e2e_wait 30 e2e_has_window "$BOX" || e2e_fail "no message box for an unusable data folder"
e2e_shot recusa
icon=$(xprop -id "$(e2e_window "$BOX")" _NET_WM_ICON)
[[ $icon == *"Icon (48 x 48)"* ]] || e2e_fail "message box has no icon"
e2e_has_window "$MAIN" && e2e_fail "main window shown although the data folder is unusable"
e2e_answer_box "$BOX" "$refused" || e2e_fail "program did not end after the message"
[ "$E2E_STATUS" = 0 ] || e2e_fail "ended with status $E2E_STATUS"

remove_package
[ ! -e /usr/bin/zelvano-agenda ] || e2e_fail "package removal left /usr/bin/zelvano-agenda"
echo "PASS $name"
