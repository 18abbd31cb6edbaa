# Shared set-up for the end-to-end scripts: a private X server, a private home and runtime
# folder, a copy of the executable in its own application folder, and cleanup of everything
# started, whatever happens.
set -euo pipefail

E2E_EXE=$(realpath "$1")
E2E_TMP=$(mktemp -d)
E2E_PIDS=()

e2e_cleanup() {
    # Wait until each is gone: an X server still shutting down would answer the next script.
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || true; done
    for pid in "${E2E_PIDS[@]}"; do kill -9 "$pid" 2>/dev/null || true; done
    [ -n "${E2E_KEEP:-}" ] && cat "$E2E_TMP/app.log" >&2
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_fail() { echo "  e2e: $*" >&2; exit 1; }

# Waits up to $1 seconds for a command to succeed.
e2e_wait() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.2
    done
}

e2e_start_x() {
    local n
    for n in $(seq 90 140); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        E2E_PIDS+=($!)
        export DISPLAY=":$n"
        e2e_wait 10 xdpyinfo && return 0
        kill "${E2E_PIDS[-1]}" 2>/dev/null || true
    done
    e2e_fail "no X server could be started"
}

export HOME="$E2E_TMP/home"
export XDG_CONFIG_HOME="$HOME/.config"
export XDG_RUNTIME_DIR="$E2E_TMP/run"
export QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS || true
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
E2E_APP="$E2E_TMP/Minha Agenda"
mkdir -p "$E2E_APP"
cp "$E2E_EXE" "$E2E_APP/zelvano-agenda"

# Starts a copy of the program; its pid is in E2E_LAST.
e2e_run() {
    (cd "$E2E_APP" && exec ./zelvano-agenda) >>"$E2E_TMP/app.log" 2>&1 &
    E2E_LAST=$!
    E2E_PIDS+=($E2E_LAST)
}

e2e_window() { xdotool search --onlyvisible --name "$1" | head -1; }
e2e_has_window() { [ -n "$(e2e_window "$1")" ]; }

# Gives the window the keyboard focus (there is no window manager) and types the keys.
e2e_press() {
    local w
    w=$(e2e_window "$1"); shift
    [ -n "$w" ] || return 1
    xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
    sleep 0.3
    xdotool key "$@"
}
