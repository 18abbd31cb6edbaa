#!/usr/bin/env bash
# The program under GNOME Shell 43 with its AppIndicator extension, the shell run headless, as
# a GNOME user meets it. Prints a PASS or FAIL line per check (INFO lines are what the desktop
# shows, for the record) and exits 1 when any check failed.
#  1. a first start, native Wayland: the item registers with the extension's watcher, its
#     dbusmenu layout and the menu the extension builds from it list the tray menu's items, the
#     extension counts it ready and shows its icon; the window matches the launcher; one click
#     on the icon opens the menu; "Programar Agenda" from it opens the entry window; the
#     main window's title bar (the program's own there) shows no button; a double click on the
#     icon brings the window forward;
#     "Desativar Agenda" from the menu ends the program with status 0;
#  2. a logon start, native Wayland: one click opens the menu and leaves the window hidden, a
#     double click restores it;
#  3. a first start under Xwayland: the window's class matches the launcher, the item is ready,
#     "Desativar Agenda" from the menu ends the program with status 0.
# Not part of run-all.sh: GNOME's packages are large (gnome-shell,
# gnome-shell-extension-appindicator and xwayland, about 340 MiB). Installs them when missing.
# gnome-shell runs as an ordinary user: as root the script runs itself as the user gtest
# (made when missing).
# Usage: gnome_shell.sh /path/to/zelvano-agenda   (E2E_KEEP=1 keeps the screenshots)
set -euo pipefail
[ $# = 1 ] || { echo "usage: $0 /path/to/zelvano-agenda" >&2; exit 2; }
here=$(dirname "$(realpath "$0")")
if [ "$(id -u)" = 0 ]; then
    bash "$here/../../tools/install-deps.sh" gnome-shell gnome-shell-extension-appindicator xwayland
    id gtest >/dev/null 2>&1 || useradd -m gtest
    copy=$(mktemp -d /tmp/zelvano-gnome.XXXXXX)
    chmod 755 "$copy"
    cp "$1" "$copy/zelvano-agenda"
    status=0
    runuser -u gtest -- env E2E_KEEP="${E2E_KEEP:-}" bash "$here/gnome_shell.sh" "$copy/zelvano-agenda" || status=$?
    rm -rf "$copy"
    exit $status
fi
bash "$here/../../tools/install-deps.sh" gnome-shell gnome-shell-extension-appindicator xwayland
source "$here/lib.sh"
EXTENSION=ubuntu-appindicators@ubuntu.com
MAIN='^Zelvano Agenda Eletr.nica V13'
ENTRY_TITLE='Zelvano - Agenda'
ENTRY="^$ENTRY_TITLE\|"

FAILED=0
check() {
    local what=$1 out
    shift
    if out=$("$@" 2>&1); then
        echo "PASS $what${out:+: $out}"
    else
        echo "FAIL $what${out:+: $out}"
        FAILED=$((FAILED + 1))
    fi
}
info() { echo "INFO $*"; }

# JavaScript run in the shell (org.gnome.Shell.Eval, open in unsafe mode); prints its value,
# a string as it is. Fails when the code throws.
shell_eval() {
    /usr/bin/python3 - "$1" <<'PY'
import json, sys
from gi.repository import Gio, GLib
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
ok, out = bus.call_sync("org.gnome.Shell", "/org/gnome/Shell", "org.gnome.Shell", "Eval",
                        GLib.Variant("(s)", (sys.argv[1],)), GLib.VariantType("(bs)"),
                        Gio.DBusCallFlags.NONE, 10000, None).unpack()
if not ok:
    sys.exit(out)
value = json.loads(out) if out else ""
print(value if isinstance(value, str) else json.dumps(value))
PY
}
shell_true() { [ "$(shell_eval "$1")" = true ]; }

# The extension's indicator of the item $item (its panel button) as I in the expression $1.
on_item() {
    shell_eval "(() => { const I = Object.values(Main.panel.statusArea).find(i => i?._indicator?.busName === '$item_bus');
        if (!I) throw new Error('the extension has no indicator for $item'); return $1; })()"
}
# The program's windows as W (an array of MetaWindow) in the expression $1.
on_windows() {
    shell_eval "(() => { const W = global.get_window_actors().map(a => a.meta_window).filter(w => w.get_pid() === $program);
        return $1; })()"
}
# "title|class|instance|launcher|wayland or x11|minimised|focused" a line.
windows() {
    on_windows "W.map(w => [w.title, w.get_wm_class(), w.get_wm_class_instance(),
        imports.gi.Shell.WindowTracker.get_default().get_window_app(w)?.get_id(),
        w.get_client_type() === 0 ? 'wayland' : 'x11', w.minimized, w.has_focus()].join('|')).join('\\n')"
}
# The same without the keyboard focus, which the shell's menu takes while open.
unfocused_windows() { windows | cut -d'|' -f1-6; }
has_window() { windows | grep -qE "$1"; }
no_window() { [ -z "$(windows)" ]; }
main_focused() { windows | grep -qE "$MAIN.*\|false\|true$"; }

# Clicks of the button $3 (1 left, 3 right), $4 of them in quick succession, at ($1, $2),
# through a virtual pointer on the shell's own seat, so they go through its picking and event
# handling as a mouse's do.
click() {
    shell_eval "(() => { const Clutter = imports.gi.Clutter, GLib = imports.gi.GLib;
        if (!global._zelvanoPointer)
            global._zelvanoPointer = Clutter.get_default_backend().get_default_seat()
                .create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
        const p = global._zelvanoPointer;
        let t = GLib.get_monotonic_time();
        p.notify_absolute_motion(t, $1, $2);
        for (let i = 0; i < ${4:-1}; i++) {
            p.notify_button(t += 30000, ${3:-1}, Clutter.ButtonState.PRESSED);
            p.notify_button(t += 30000, ${3:-1}, Clutter.ButtonState.RELEASED);
        }
        return ''; })()" >/dev/null
}
centre_of() { echo "$1" | tr -d '[]' | awk -F, '{ printf "%d %d", $1 + $3 / 2, $2 + $4 / 2 }'; }
box_of_icon() { on_item 'JSON.stringify(I.get_transformed_position().concat(I.get_transformed_size()))'; }
click_icon() {
    local box xy
    box=$(box_of_icon) || { echo "$box"; return 1; }
    xy=$(centre_of "$box") || return 1
    click $xy 1 "${1:-1}"
}
menu_open() { [ "$(on_item 'I.menu.isOpen')" = true ]; }
menu_closed() { [ "$(on_item 'I.menu.isOpen')" = false ]; }
close_menu() { on_item 'I.menu.close()' >/dev/null; e2e_wait 5 menu_closed; }
menu_labels() { on_item "I.menu._getMenuItems().map(m => m.label?.text ?? '-').join(', ')"; }
# Opens the extension's menu with a click on the icon and clicks its item labelled $1.
choose() {
    local box
    click_icon && e2e_wait 5 menu_open || { echo "the menu did not open"; return 1; }
    # The menu slides in: its items are where they stay, and take clicks, once it is still.
    sleep 0.5
    box=$(on_item "JSON.stringify((m => m.get_transformed_position().concat(m.get_transformed_size()))(
        I.menu._getMenuItems().find(m => m.label?.text === '$1')))") || return 1
    click $(centre_of "$box")
}

# How long after the program's start the extension had its icon on the panel.
ready_in() { e2e_wait 30 ready_and_shown && echo "$((($(date +%s%N) - start) / 1000000)) ms after the start"; }
ready_and_shown() {
    on_item "I.isReady() && I.visible && I.mapped && I.width > 0 && I._icon.gicon !== null" | grep -qx true
}
layout() { e2e_check_tray_layout "$program" && /usr/bin/python3 "$here/sni_panel.py" --layout "$item" | cut -f1 | paste -sd,; }
menu_lists() {
    local labels
    labels=$(menu_labels) || return 1
    echo "$labels"
    [ "$labels" = "Programar Agenda, Desativar Agenda" ]
}
# The program's own item, its bus name in $item.
find_item() {
    item=
    e2e_wait 30 e2e_has_own_item "$program" && item=$(e2e_own_item "$program")
    # The extension keeps an item registered under a well-known name by its owner's unique name.
    item_bus=$item
    [ -n "$item" ] && [ "${item#:}" = "$item" ] && item_bus=$(gdbus call --session --dest org.freedesktop.DBus \
        --object-path /org/freedesktop/DBus --method org.freedesktop.DBus.GetNameOwner "$item" | sed -E "s/^\('(.*)',\)$/\1/")
    return 0
}
has_item() { [ -n "$item" ] && echo "$item" || { e2e_own_item "$program"; return 1; }; }
# E2E_STATUS once the program ended (a subshell cannot wait for it).
wait_end() { e2e_wait_end "$program" || E2E_STATUS="still running"; }
# A copy a failed check left running would take the next start for a second copy.
end_program() {
    e2e_ended "$program" && return 0
    kill "$program"
    e2e_wait_end "$program" 10 || kill -9 "$program"
}
status_0() { [ "$E2E_STATUS" = 0 ] || { echo "exit status $E2E_STATUS"; return 1; }; }
launcher_matched() {
    local w
    w=$(windows | grep -E "$MAIN") || { echo "no main window"; return 1; }
    echo "$w"
    IFS='|' read -r _ class instance app _ _ _ <<<"$w"
    [ "$class" = zelvano-agenda ] && [ "$app" = zelvano-agenda.desktop ] && [[ $instance =~ ^zelvano-agenda$|^$ ]]
}

screenshot() {
    gdbus call --session --dest org.gnome.Shell.Screenshot --object-path /org/gnome/Shell/Screenshot \
        --method org.gnome.Shell.Screenshot.Screenshot false false "$E2E_SHOTS/$1.png" >/dev/null
}
main_frame() { on_windows "JSON.stringify((f => [f.x, f.y, f.width, f.height])(W.find(w => /$MAIN/.test(w.title)).get_frame_rect()))"; }
# The glyphs at the right end of the main window's title bar (the band 4 to 26 pixels under
# the frame's top, the last 90 pixels): the centre "x y" of each run of columns with dark
# pixels, a line each, from the screenshot $1.
title_buttons() {
    local f x y w
    f=$(main_frame | tr -d '[]') || return 1
    IFS=, read -r x y w _ <<<"$f"
    convert "$E2E_SHOTS/$1.png" -crop "90x22+$((x + w - 90))+$((y + 4))" +repage -colorspace gray \
        -threshold 40% txt:- |
        awk -F'[,: ]+' -v x0=$((x + w - 90)) -v yc=$((y + 15)) '
            /#000000|black/ && $1 < 88 { dark[$1] = 1 }
            END { for (c = 0; c < 90; c++) {
                if (dark[c] && start == "") start = c
                if (!dark[c] && start != "") { print x0 + int((start + c - 1) / 2), yc; start = "" } } }'
}
decorations() {
    local buttons
    screenshot "$1" || true
    buttons=$(title_buttons "$1" | wc -l)
    info "$2: the main window's title bar shows $buttons glyphs at its right end; the shell lets it $(on_windows \
        "(w => ['minimise ' + w.can_minimize(), 'maximise ' + w.can_maximize(), 'close ' + w.can_close(),
            'decorated by the shell ' + w.decorated].join(', '))(W.find(w => /$MAIN/.test(w.title)))") (screenshot $1.png)"
}
# The program's own title bar under Wayland shows the buttons the window asks for: none.
no_title_bar_buttons() {
    screenshot before-minimise
    [ "$(title_buttons before-minimise | wc -l)" = 0 ] || { echo "buttons in the title bar"; return 1; }
}
programar_opens_entry() { choose 'Programar Agenda' && e2e_wait 30 has_window "$ENTRY"; }
double_click_restores() {
    click_icon 2 && e2e_wait 10 main_focused || { echo "windows: $(windows); menu open: $(on_item I.menu.isOpen)"; return 1; }
}
entry_closed() { ! has_window "$ENTRY"; }
one_click_opens_menu_only() {
    click_icon || return 1
    e2e_wait 5 menu_open || { echo "no menu"; return 1; }
    sleep 1
    menu_open || { echo "the menu closed again"; return 1; }
    [ "$(unfocused_windows)" = "$1" ] || { echo "the windows changed: $(windows)"; return 1; }
    close_menu
}

# A stand-in system bus: the shell asks it for logind, accounts and the like and goes on
# without them; a policy that lets every message through, or the shell's first calls time out.
cat >"$E2E_TMP/system.conf" <<XML
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:path=$E2E_TMP/system_bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow receive_sender="*"/><allow own="*"/><allow user="*"/>
  </policy>
</busconfig>
XML
dbus-daemon --config-file="$E2E_TMP/system.conf" --nofork >"$E2E_TMP/system-bus.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait 30 test -S "$E2E_TMP/system_bus" || e2e_fail "no stand-in system bus"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$E2E_TMP/system_bus"
e2e_start_dbus
# The launcher, found by the shell as an installed one (its Exec on PATH).
mkdir -p "$HOME/.local/share/applications"
cp "$here/../../resources/zelvano-agenda.desktop" "$HOME/.local/share/applications/"
export PATH="$E2E_APP:$PATH"
gsettings set org.gnome.shell enabled-extensions "['$EXTENSION']"
# No banners over the windows in the screenshots ("Screen Lock disabled" without GDM).
gsettings set org.gnome.desktop.notifications show-banners false

unset DISPLAY WAYLAND_DISPLAY
started=$(date +%s%N)
gnome-shell --wayland --headless --virtual-monitor 1280x1024 --unsafe-mode >"$E2E_TMP/shell.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait 120 shell_true '!Main.layoutManager._startingUp' \
    || e2e_fail "GNOME Shell did not start: $(tail -n 5 "$E2E_TMP/shell.log" | tr '\n' ' ')"
started=$((($(date +%s%N) - started) / 1000000))
shell_eval 'Main.overview.hide()' >/dev/null
check "GNOME Shell $(gnome-shell --version | cut -d' ' -f3) started headless in $started ms with $EXTENSION enabled" \
    shell_true "Main.extensionManager.lookup('$EXTENSION')?.state === 1"
export WAYLAND_DISPLAY
WAYLAND_DISPLAY=$(sed -n "s/.*Using Wayland display name '\(.*\)'.*/\1/p" "$E2E_TMP/shell.log")
x_display=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$E2E_TMP/shell.log")
export QT_QPA_PLATFORM=wayland

# 1. First start, native Wayland.
start=$(date +%s%N); e2e_start; program=$E2E_LAST
e2e_wait 30 has_window "$MAIN" || e2e_fail "main window not mapped on first start: $(windows)"
e2e_wait 30 test -f "$E2E_AUTOSTART" || e2e_fail "autostart entry not created on first activation"
cp "$E2E_AUTOSTART" "$E2E_TMP/entry.saved"
find_item
check "Wayland: the item registers with the extension's watcher" has_item
check "Wayland: GetLayout on the item's menu lists" layout
check "Wayland: the extension counts the item ready and shows its icon" ready_in
check "Wayland: the extension's menu lists" menu_lists
check "Wayland: the window matches the launcher" launcher_matched
decorations wayland-first-start Wayland
shown=$(unfocused_windows)
check "Wayland: one click on the icon with the window shown opens the menu and nothing else" \
    one_click_opens_menu_only "$shown"
check "Wayland: Programar Agenda from the extension's menu opens the entry window" programar_opens_entry
on_windows "W.filter(w => w.title === '$ENTRY_TITLE').forEach(w => w.delete(global.get_current_time()))" >/dev/null
e2e_wait 10 entry_closed || true
check "Wayland: the main window's title bar shows no button" no_title_bar_buttons
check "Wayland: a double click on the icon brings the window back with the keyboard" double_click_restores
choose "Desativar Agenda" || true
wait_end
check "Wayland: Desativar Agenda from the extension's menu ends the program with status 0" status_0

# 2. Logon start, native Wayland.
end_program
cp "$E2E_TMP/entry.saved" "$E2E_AUTOSTART"
start=$(date +%s%N); e2e_start; program=$E2E_LAST
find_item
check "Wayland logon start: the item registers" has_item
check "Wayland logon start: the extension counts the item ready and shows its icon" ready_in
check "Wayland logon start: no window is shown" no_window
check "Wayland logon start: one click on the icon opens the menu and leaves the window hidden" \
    one_click_opens_menu_only ""
check "Wayland logon start: a double click on the icon shows the window with the keyboard" double_click_restores
[ -z "$item" ] || /usr/bin/python3 "$here/sni_panel.py" --click "$item" "Desativar Agenda" || true
wait_end
check "Wayland logon start: Desativar Agenda over dbusmenu ends the program with status 0" status_0

# 3. First start under Xwayland.
end_program
export QT_QPA_PLATFORM=xcb DISPLAY=$x_display
XAUTHORITY=$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -1) || true
export XAUTHORITY
start=$(date +%s%N); e2e_start; program=$E2E_LAST
e2e_wait 30 has_window "$MAIN" || e2e_fail "main window not mapped under Xwayland: $(windows)"
find_item
check "Xwayland: the item registers" has_item
check "Xwayland: the extension counts the item ready and shows its icon" ready_in
check "Xwayland: the window's class matches the launcher" launcher_matched
sleep 1
decorations xwayland-first-start Xwayland
choose "Desativar Agenda" || true
wait_end
check "Xwayland: Desativar Agenda from the extension's menu ends the program with status 0" status_0

echo "gnome_shell: $FAILED failed"
[ "$FAILED" = 0 ]
