# Shared set-up for the end-to-end scripts: a private X server, a private home and runtime
# folder, a copy of the executable in its own application folder, and cleanup of everything
# started, whatever happens.
# Usage, from a script: source "$(dirname "$0")/lib.sh" (with the executable as $1).
# E2E_KEEP=1 keeps the work folder (screenshots in shots/, each start's output in run.N.log).
set -euo pipefail

E2E_EXE=$(realpath "$1")
E2E_TMP=$(mktemp -d /tmp/zelvano-e2e.XXXXXX)
E2E_SHOTS="$E2E_TMP/shots"
E2E_PIDS=()
E2E_NAME=$(basename "$0" .sh)
mkdir -p "$E2E_SHOTS"

# Ends what was started, newest first (the X server last, so no program dies of a lost
# display first), politely, then for good; the X server must go politely to take its lock.
e2e_cleanup() {
    local i pid
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        pid=${E2E_PIDS[i]}
        kill "$pid" 2>/dev/null || continue
        timeout 10 tail --pid="$pid" -s 0.1 -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
    done
    if [ -n "${E2E_KEEP:-}" ]; then
        echo "  $E2E_NAME: kept $E2E_TMP" >&2
    else
        rm -rf "$E2E_TMP"
    fi
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "  $E2E_NAME: $*" >&2
    local log
    for log in "$E2E_TMP"/run.*.log; do
        [ -s "$log" ] || continue
        echo "  --- program output ($(basename "$log")):" >&2
        tail -n 20 "$log" >&2
    done
    exit 1
}

# Waits up to $1 seconds for a command to succeed.
e2e_wait() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

# A display of our own. Another script or developer may start a server on the same number at
# the same moment: then one of the two servers dies at once, so ours must still be alive once
# the display answers. (Xvfb -displayfd would pick a number, but it may take :0, which GTK -
# and so trayer - will not always open.)
e2e_start_x() {
    local n pid
    for n in $(seq 90 190); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$E2E_TMP/xvfb.log" 2>&1 &
        pid=$!
        E2E_PIDS+=($pid)
        export DISPLAY=":$n"
        if e2e_wait 30 xdpyinfo && sleep 0.5 && kill -0 "$pid" 2>/dev/null; then
            return 0
        fi
        kill "$pid" 2>/dev/null || true
    done
    e2e_fail "no X server could be started"
}

# A notification area: trayer's panel at the top right. Its window id is in E2E_PANEL, its
# process id in E2E_TRAY.
e2e_start_tray() {
    trayer --edge top --align right --widthtype pixel --width 120 --height 28 --SetDockType true \
        >>"$E2E_TMP/trayer.log" 2>&1 &
    E2E_TRAY=$!
    E2E_PIDS+=($E2E_TRAY)
    e2e_wait 60 xdotool search --name '^panel$' || e2e_fail "trayer did not start"
    E2E_PANEL=$(xdotool search --name '^panel$' | head -1)
}

# Centre of the first icon the panel embedded, as "x y" on the screen.
e2e_icon_centre() {
    local line
    line=$(xwininfo -id "$E2E_PANEL" -children | grep -E '^ +0x[0-9a-f]+ .*[0-9]+x[0-9]+\+' | head -1) || return 1
    [[ $line =~ ([0-9]+)x([0-9]+)\+-?[0-9]+\+-?[0-9]+\ +\+(-?[0-9]+)\+(-?[0-9]+) ]] || return 1
    echo "$((BASH_REMATCH[3] + BASH_REMATCH[1] / 2)) $((BASH_REMATCH[4] + BASH_REMATCH[2] / 2))"
}
e2e_has_icon() { e2e_icon_centre >/dev/null; }

export HOME="$E2E_TMP/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$E2E_TMP/run"
export QT_QPA_PLATFORM=xcb
# No session bus: a tray icon goes to our X tray host, never to the desktop running the tests.
unset DBUS_SESSION_BUS_ADDRESS || true
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# A space in the folder: the autostart entry must quote the executable's path.
E2E_APP="$E2E_TMP/Minha Agenda"
mkdir -p "$E2E_APP"
cp "$E2E_EXE" "$E2E_APP/zelvano-agenda"
E2E_AUTOSTART="$XDG_CONFIG_HOME/autostart/Zelvano Quorvel.desktop"

# Starts a copy of the program; its pid is in E2E_LAST, its output in E2E_LOG[pid].
declare -A E2E_LOG
E2E_RUNS=0
e2e_start() {
    E2E_RUNS=$((E2E_RUNS + 1))
    local log="$E2E_TMP/run.$E2E_RUNS.log"
    (cd "$E2E_APP" && exec ./zelvano-agenda) >"$log" 2>&1 &
    E2E_LAST=$!
    E2E_PIDS+=($E2E_LAST)
    E2E_LOG[$E2E_LAST]=$log
}

# True when the copy ended within a second because Xvfb refused its connection. Xvfb now and
# then refuses a client on a loaded machine (seen here about once in forty starts, never
# under strace); such a copy never ran, so the scripts start it again.
e2e_refused_by_x() {
    e2e_wait 1 e2e_ended "$1" && grep -q "could not connect to display" "${E2E_LOG[$1]}"
}

e2e_run() {
    local try
    for try in 1 2 3; do
        e2e_start
        e2e_refused_by_x "$E2E_LAST" || return 0
        echo "  $E2E_NAME: Xvfb refused the program's connection; starting it again" >&2
    done
}

# Starts two copies at the same moment (E2E_A, E2E_B), again while Xvfb refuses either.
e2e_run_two() {
    local try
    for try in 1 2 3; do
        e2e_start; E2E_A=$E2E_LAST
        e2e_start; E2E_B=$E2E_LAST
        if ! e2e_refused_by_x "$E2E_A" && ! e2e_refused_by_x "$E2E_B"; then
            return 0
        fi
        echo "  $E2E_NAME: Xvfb refused one of two copies; starting both again" >&2
        kill "$E2E_A" "$E2E_B" 2>/dev/null || true
        e2e_wait_end "$E2E_A" 10 || true
        e2e_wait_end "$E2E_B" 10 || true
    done
}

e2e_ended() { ! kill -0 "$1" 2>/dev/null; }

# Waits up to $2 seconds (default 30) for the program $1 to end; its exit status is in
# E2E_STATUS.
e2e_wait_end() {
    e2e_wait "${2:-30}" e2e_ended "$1" || return 1
    E2E_STATUS=0
    wait "$1" 2>/dev/null || E2E_STATUS=$?
}

# xdotool search fails when it finds nothing; here that is an empty answer.
e2e_window() { { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | head -1; }
e2e_has_window() { [ -n "$(e2e_window "$1")" ]; }
e2e_count_windows() { { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | wc -l; }

# Menus the program $1 has on screen: its override-redirect windows, except tooltips (typed
# as such) and the tray icon's own window (typed as an override window).
e2e_menus() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q 'TOOLTIP\|_OVERRIDE' || echo "$w"
    done
    return 0
}
e2e_has_menu() { [ -n "$(e2e_menus "$1")" ]; }

# Gives the window the keyboard focus (there is no window manager) and types the keys.
# Plain `xdotool key` sends each press and its release through XTEST. `xdotool key --window`
# must not be used: when the key closes the window, the release fails with BadWindow and the
# key stays down in the server, auto-repeating into whatever gets the keyboard next.
e2e_press() {
    local w
    w=$(e2e_window "$1"); shift
    [ -n "$w" ] || return 1
    xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w" 2>/dev/null || return 1
    sleep 0.3
    xdotool key --delay 60 "$@"
}

# Answers a copy's box with Return and waits for that copy to end. A key typed while the box
# is still taking the focus can be lost on a loaded machine, so it tries again.
e2e_answer_box() {
    local box=$1 pid=$2 try
    for try in 1 2 3 4; do
        e2e_press "$box" Return || true
        if e2e_wait 8 e2e_ended "$pid"; then
            e2e_wait_end "$pid" 5
            return 0
        fi
    done
    return 1
}

# Screenshot of the whole screen into the work folder's shots/.
e2e_shot() {
    import -window root "$E2E_SHOTS/$1.png" 2>/dev/null || true
}

# A session bus of our own, so that nothing reaches the desktop running the tests.
e2e_start_dbus() {
    dbus-daemon --session --nofork --address="unix:path=$E2E_TMP/bus" >"$E2E_TMP/dbus.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait 30 test -S "$E2E_TMP/bus" || e2e_fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_TMP/bus"
}

# The accessibility bus on a session bus of our own, as screen readers find them on a desktop.
e2e_start_a11y() {
    e2e_start_dbus
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/atspi.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait 10 dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress \
        || e2e_fail "the accessibility bus did not start"
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

# A sound server of our own that plays into a null sink; fails where pulseaudio is not installed.
e2e_start_null_sound() {
    command -v pulseaudio >/dev/null || return 1
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disable-shm=true \
        -L "module-null-sink sink_name=nulo" \
        -L "module-native-protocol-unix auth-anonymous=1 socket=$XDG_RUNTIME_DIR/pulse.sock" \
        >"$E2E_TMP/pulse.log" 2>&1 &
    E2E_PIDS+=($!)
    export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse.sock"
    e2e_wait 10 test -S "$XDG_RUNTIME_DIR/pulse.sock" || e2e_fail "pulseaudio did not start"
}

# A StatusNotifier watcher with a host (sni_panel.py; its arguments are passed on). The bus
# names of the items that register are written to $E2E_SNI_ITEMS, one a line.
E2E_SNI_ITEMS="$E2E_TMP/sni.items"
e2e_start_sni_panel() {
    # Debian's own Python, the one python3-gi is for (not whatever python3 comes first on PATH).
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_panel.py" "$@" >"$E2E_SNI_ITEMS" 2>"$E2E_TMP/sni.log" &
    E2E_PIDS+=($!)
    e2e_wait 30 e2e_bus_has org.kde.StatusNotifierWatcher || e2e_fail "the StatusNotifier watcher did not start"
}
e2e_bus_has() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner "$1" | grep -q true
}
e2e_sni_item() { head -1 "$E2E_SNI_ITEMS"; }
e2e_has_sni_item() { [ -n "$(e2e_sni_item)" ] && e2e_bus_has "$(e2e_sni_item)"; }
# Calls a method of the first registered item as a panel does (Activate, ContextMenu), at
# ($3, $4), default (10, 10); fails when no answer comes within $2 seconds (default 25, D-Bus's
# own limit).
e2e_sni_call() {
    gdbus call --session --timeout "${2:-25}" --dest "$(e2e_sni_item)" --object-path /StatusNotifierItem \
        --method "org.kde.StatusNotifierItem.$1" "${3:-10}" "${4:-10}" >/dev/null
}
# The first item's menu as a panel reads it over dbusmenu: "label<TAB>enabled=..<TAB>visible=.."
# a line; and the choice of its item labelled $1 (Event "clicked").
e2e_sni_menu() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_panel.py" --layout "$(e2e_sni_item)"; }
e2e_sni_click() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_panel.py" --click "$(e2e_sni_item)" "$1"; }

# A headless Wayland compositor (sway, which lists its windows and takes typed keys through
# wtype) instead of the X server; the program then runs as a native Wayland client. sway will
# not run as root: then it runs as nobody, in a runtime folder of its own.
e2e_start_sway() {
    local run="$E2E_TMP/sway-run" as=()
    mkdir -p "$run"
    chmod 700 "$run"
    printf 'xwayland disable\noutput * resolution 1280x1024\n' >"$E2E_TMP/sway.config"
    if [ "$(id -u)" = 0 ]; then
        chown nobody "$run"
        chmod 755 "$E2E_TMP"
        as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
    fi
    env -u DISPLAY XDG_RUNTIME_DIR="$run" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        "${as[@]}" sway -c "$E2E_TMP/sway.config" >"$E2E_TMP/sway.log" 2>&1 &
    E2E_PIDS+=($!)
    e2e_wait 30 test -S "$run/wayland-1" || e2e_fail "sway did not start"
    e2e_wait 30 compgen -G "$run/sway-ipc.*.sock" || e2e_fail "sway did not open its IPC socket"
    export WAYLAND_DISPLAY="$run/wayland-1"
    SWAYSOCK=$(compgen -G "$run/sway-ipc.*.sock" | head -1)
    export SWAYSOCK
    export QT_QPA_PLATFORM=wayland
    unset DISPLAY
    # A keyboard that stays: each wtype brings its own and takes it away when done, and keys
    # typed while a program is still binding a keyboard that just appeared are lost.
    wtype -s 100000000 &
    E2E_PIDS+=($!)
    sleep 0.5
}

# The windows sway maps, one a line: "title|shell|visible|focused" (shell xdg_shell for a
# native Wayland client, xwayland for an X one).
e2e_sway_windows() {
    swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(n):
    if n.get("pid"):
        print("%s|%s|%s|%s" % (n.get("name"), n.get("shell"), n.get("visible"), n.get("focused")))
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
# A native Wayland window whose title matches $1 is shown (and, for the second, has the keyboard).
e2e_wl_shown() { e2e_sway_windows | grep -qE "^$1\|xdg_shell\|True\|"; }
e2e_wl_focused() { e2e_sway_windows | grep -qE "^$1\|xdg_shell\|True\|True$"; }

# A window manager, as the desktops that run lxqt-panel have (openbox, strict about focus).
e2e_start_openbox() {
    openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    # xprop says "not found" with status 0: the property's value is what counts.
    e2e_wait 30 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || e2e_fail "openbox did not start"
    # It announces itself before it manages windows; a window mapped in between is seen never.
    # On a loaded machine it has taken over 30 s to get there.
    e2e_wait 90 sh -c 'xprop -root _OB_THEME | grep -q =' \
        || e2e_fail "openbox did not finish starting: $(tail -n 3 "$E2E_TMP/openbox.log" | tr '\n' ' ')" \
            "(X server on $DISPLAY $(xdpyinfo >/dev/null 2>&1 && echo answers || echo "does not answer");" \
            "its log: $(tail -n 3 "$E2E_TMP/xvfb.log" 2>/dev/null | tr '\n' ' '))"
}

# The program $1's own StatusNotifier item (its bus name) as a real panel's watcher lists it,
# and its menu read and used over dbusmenu as the test panel does.
e2e_own_item() { /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_own_item.py" "$1"; }
e2e_has_own_item() { e2e_own_item "$1" >/dev/null; }
e2e_own_click() {
    local item
    item=$(e2e_own_item "$1") || return 1
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_panel.py" --click "$item" "$2"
}
# "Desativar Agenda" chosen from the program $1's menu over dbusmenu ends it with status 0.
e2e_own_deactivate() {
    e2e_own_click "$1" "Desativar Agenda" || e2e_fail "Desativar Agenda could not be chosen"
    e2e_wait_end "$1" || e2e_fail "program did not end after Desativar Agenda"
    [ "$E2E_STATUS" = 0 ] || e2e_fail "exit status $E2E_STATUS after Desativar Agenda"
}
# The menu of the program $1 lists "Programar Agenda" then "Desativar Agenda", enabled and
# shown; else says what it found.
e2e_check_tray_layout() {
    local item layout
    item=$(e2e_own_item "$1" 2>&1) || e2e_fail "no item of the program's own: $item"
    layout=$(/usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/sni_panel.py" --layout "$item" 2>&1) \
        || e2e_fail "the item's menu could not be read: $layout"
    [ "$layout" = $'Programar Agenda\tenabled=True\tvisible=True\nDesativar Agenda\tenabled=True\tvisible=True' ] \
        || e2e_fail "the item's menu lists: $(echo "$layout" | tr '\n\t' '; ')"
}

# A click of the button $3 (left, right) at ($1, $2) on sway's 1280x1024 output, through a
# virtual pointer (sway's seat commands reach no client when there is no input device). The
# small client is built here, on first use, from its C source and the protocol's description.
e2e_wl_click() {
    local src vp="$E2E_TMP/vponteiro"
    src=$(dirname "${BASH_SOURCE[0]}")
    if [ ! -x "$vp" ]; then
        wayland-scanner client-header "$src/wlr-virtual-pointer-unstable-v1.xml" \
            "$E2E_TMP/wlr-virtual-pointer-unstable-v1-client-protocol.h" &&
            wayland-scanner private-code "$src/wlr-virtual-pointer-unstable-v1.xml" "$E2E_TMP/vp-protocol.c" &&
            cc -o "$vp" -I"$E2E_TMP" "$src/vponteiro.c" "$E2E_TMP/vp-protocol.c" \
                $(pkg-config --cflags --libs wayland-client) || e2e_fail "the virtual pointer could not be built"
    fi
    "$vp" 1280 1024 "$1" "$2" "${3:-left}"
}
