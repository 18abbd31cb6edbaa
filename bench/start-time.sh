#!/usr/bin/env bash
# Start to first shown main window, and resident memory once shown, of the real program
# under Xvfb, over five starts in a fresh application folder.
source "$(dirname "$0")/../tests/e2e/lib.sh"
e2e_start_x
for i in 1 2 3 4 5; do
    t0=$(date +%s%N)
    e2e_run; pid=$E2E_LAST
    e2e_wait 20 e2e_has_window 'Zelvano Agenda Eletr.*nica V13' || e2e_fail "no window"
    t1=$(date +%s%N)
    sleep 0.5
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    echo "start $i: $(( (t1 - t0) / 1000000 )) ms to the shown main window, resident memory ${rss} kB"
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
