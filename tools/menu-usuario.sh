#!/usr/bin/env bash
# The launcher and icon of a program installed by `make install` in the user's own menu, and
# their removal by `make uninstall` (with the logon start that points at the same program).
# Usage: menu-usuario.sh instala|remove /full/path/zelvano-agenda
set -euo pipefail
acao=$1
exe=$2
here=$(cd "$(dirname "$0")/.." && pwd)
dados=${XDG_DATA_HOME:-}
[[ $dados == /* ]] || dados="$HOME/.local/share"
config=${XDG_CONFIG_HOME:-}
[[ $config == /* ]] || config="$HOME/.config"
entrada="$dados/applications/zelvano-agenda.desktop"
icones="$dados/icons/hicolor"
tamanhos="16 22 24 32 48 64 128 256"

# Exec= with the path quoted by the Desktop Entry rules: inside double quotes, " ` $ \ take a
# backslash; then the value itself doubles every backslash, and % becomes %%.
exec_de() {
    local a=$1
    a=${a//\\/\\\\}; a=${a//\"/\\\"}; a=${a//\`/\\\`}; a=${a//\$/\\\$}
    a="\"$a\""
    a=${a//\\/\\\\}; a=${a//%/%%}
    printf '%s' "$a"
}

# True when the entry $1 starts this program (the program quotes its path only when it must).
aponta_para_exe() {
    [ -f "$1" ] && { grep -qxF "Exec=$(exec_de "$exe")" "$1" || grep -qxF "Exec=${exe//%/%%}" "$1"; }
}

case $acao in
instala)
    install -d "$dados/applications"
    sed "s|^Exec=.*|Exec=$(exec_de "$exe" | sed 's/[|&\\]/\\&/g')|" "$here/resources/zelvano-agenda.desktop" >"$entrada"
    for t in $tamanhos; do
        install -D -m 644 "$here/resources/icons/zelvano-agenda-$t.png" "$icones/${t}x$t/apps/zelvano-agenda.png"
    done
    install -D -m 644 "$here/resources/icons/zelvano-agenda.svg" "$icones/scalable/apps/zelvano-agenda.svg"
    ;;
remove)
    # Only what belongs to this copy: another copy may have its own entry.
    if aponta_para_exe "$entrada"; then
        rm -f "$entrada"
        for t in $tamanhos; do rm -f "$icones/${t}x$t/apps/zelvano-agenda.png"; done
        rm -f "$icones/scalable/apps/zelvano-agenda.svg"
    fi
    autostart="$config/autostart/Zelvano Quorvel.desktop"
    if aponta_para_exe "$autostart"; then rm -f "$autostart"; fi
    ;;
*)
    echo "usage: $0 instala|remove EXECUTABLE" >&2
    exit 2
    ;;
esac
