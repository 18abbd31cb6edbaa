#!/usr/bin/env bash
# Runs every end-to-end script against the given executable; each starts its own Xvfb.
set -euo pipefail
exe=$(realpath "$1")
here=$(dirname "$0")
status=0
passed=0; failed=0
for script in "$here"/e2e_*.sh; do
    [ -e "$script" ] || continue
    if bash "$script" "$exe"; then passed=$((passed + 1)); echo "PASS $(basename "$script")"
    else failed=$((failed + 1)); status=1; echo "FAIL $(basename "$script")"; fi
done
echo "e2e: $passed passed, $failed failed"
exit $status
