#!/usr/bin/env bash
# The folders' one-way dependencies, held by the build: app -> windows -> (agenda, controls,
# resources); agenda and windows -> platform; controls, resources and platform know nothing of
# the others. Inside each folder no two units include each other, however indirectly.
# Usage: camadas.sh <source folder>
cd "$1" || exit 2
status=0
proibe() {
    local pasta=$1; shift
    local outra hits
    for outra in "$@"; do
        hits=$(grep -n "#include \"$outra/" "$pasta"/*.cpp "$pasta"/*.h 2>/dev/null)
        if [ -n "$hits" ]; then
            echo "$pasta/ may not include $outra/:"
            echo "$hits"
            status=1
        fi
    done
}
proibe controls agenda windows app platform resources
proibe platform agenda windows app controls resources
proibe resources agenda windows app controls platform
proibe agenda windows app controls resources
proibe windows app
# Inside a folder the units go one way too.
python3 tools/lacos.py . >/dev/null || { python3 tools/lacos.py . | grep loop; status=1; }
[ $status -eq 0 ] && echo "every folder includes only what lies below it"
exit $status
