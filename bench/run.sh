#!/usr/bin/env bash
# Runs every benchmark program in the given build folder, then times a real start under Xvfb.
set -euo pipefail
build=${1:-build-bench}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
for b in "$build"/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2
done
if command -v Xvfb >/dev/null && command -v xdpyinfo >/dev/null && [ -x "$build/zelvano-agenda" ]; then
    echo "== start-time.sh"
    bash "$(dirname "$0")/start-time.sh" "$build"
fi
