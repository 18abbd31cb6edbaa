#!/usr/bin/env bash
# Our start against a bare Qt program's, under Xvfb: milliseconds from launch until the main
# window is mapped, resident memory 1.5 s later and the shared libraries then mapped; medians
# over interleaved runs (the order alternates, so neither always starts with a warm cache).
# Usage: bench/start-time.sh <build folder> [runs, default 15]
build=$(realpath "${1:-build-bench}")
runs=${2:-15}
source "$(dirname "$0")/../tests/e2e/lib.sh" "$build/zelvano-agenda"
watch="$build/bench/startwatch"
bare="$build/bench/bare-qt"
[ -x "$watch" ] && [ -x "$bare" ] || e2e_fail "build $build with -DZELVANO_BENCH=ON first"
e2e_start_x

declare -a ours_ms ours_kb ours_libs ours_cpu bare_ms bare_kb bare_libs bare_cpu
measure_ours() {
    local r
    r=$(cd "$E2E_APP" && "$watch" 'Zelvano Agenda Eletr' ./zelvano-agenda) || e2e_fail "our program showed no window"
    read -r ms kb libs cpu <<<"$r"
    ours_ms+=("$ms"); ours_kb+=("$kb"); ours_libs+=("$libs"); ours_cpu+=("$cpu")
}
measure_bare() {
    local r
    r=$("$watch" 'Programa Qt vazio' "$bare") || e2e_fail "the bare program showed no window"
    read -r ms kb libs cpu <<<"$r"
    bare_ms+=("$ms"); bare_kb+=("$kb"); bare_libs+=("$libs"); bare_cpu+=("$cpu")
}
# One unmeasured start of each fills the disk cache and creates our data files.
measure_ours; measure_bare
ours_ms=(); ours_kb=(); ours_libs=(); ours_cpu=(); bare_ms=(); bare_kb=(); bare_libs=(); bare_cpu=()
for ((i = 0; i < runs; i++)); do
    if ((i % 2)); then measure_ours; measure_bare; else measure_bare; measure_ours; fi
done

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
om=$(median "${ours_ms[@]}"); bm=$(median "${bare_ms[@]}")
ok=$(median "${ours_kb[@]}"); bk=$(median "${bare_kb[@]}")
ol=$(median "${ours_libs[@]}"); bl=$(median "${bare_libs[@]}")
oc=$(median "${ours_cpu[@]}"); bc=$(median "${bare_cpu[@]}")
echo "start, $runs interleaved runs each (medians; load average $(cut -d' ' -f1 /proc/loadavg)):"
awk -v om="$om" -v bm="$bm" -v oc="$oc" -v bc="$bc" -v ok="$ok" -v bk="$bk" -v ol="$ol" -v bl="$bl" \
    -v old="$(ldd "$E2E_APP/zelvano-agenda" | wc -l)" -v bld="$(ldd "$bare" | wc -l)" 'BEGIN {
    printf "  %-24s %12s %12s %8s\n", "", "zelvano", "bare Qt", "ratio"
    printf "  %-24s %12.1f %12.1f %8.2f  (target <= 1.30)\n", "start to mapped, ms", om, bm, om / bm
    printf "  %-24s %12.1f %12.1f %8.2f\n", "processor to mapped, ms", oc, bc, oc / bc
    printf "  %-24s %12.1f %12.1f %8.2f  (target <= 1.20)\n", "resident memory, MB", ok / 1024, bk / 1024, ok / bk
    printf "  %-24s %12d %12d\n", "libraries mapped", ol, bl
    printf "  %-24s %12d %12d\n", "libraries (ldd)", old, bld
}'
