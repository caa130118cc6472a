#!/usr/bin/env bash
# Builds the program and its benchmarks and prints one table of figures,
# each beside its target. Figures only: nothing here fails because a figure
# is high. Other work on the machine makes figures noisy: the load average
# is printed with them.
# Usage: scripts/bench.sh [idle seconds, default 60] [start-up runs, default 7] [firing missions, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel 2 --target chronodesk bench_tick bench_files bench_missionlist bench_powerstats bench_bare_window \
    bench_startup_probe bench_marker bench_firing_parts >/dev/null

machine="$(. /etc/os-release && echo "$PRETTY_NAME"), $(nproc) cores, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo)"
loadBefore="$(cut -d' ' -f1-3 /proc/loadavg)"

rows=()
while read -r count dates median mean worst; do
    target=""
    case $count in
    10000) target="< 1 ms" ;;
    100000) target="< 10 ms" ;;
    esac
    rows+=("tick|$count rows, dates $dates|median $median us, mean $mean us, worst $worst us|$target")
done < <(build/bench/bench_tick | tail -n +2)
while read -r file kind count size save load; do
    target=""
    ((count == 100000)) && target="<= 150 ms"
    rows+=("$file $kind save|$count rows, $size KB|$save ms|")
    rows+=("$file $kind load|$count rows, into the list|$load ms|$target")
done < <(build/bench/bench_files | tail -n +2)
while IFS=$'\t' read -r step ms; do
    case $step in
    restore*) rows+=("kept list|$step|$ms ms|") ;;
    *) rows+=("kept list|one $step at 10 000 missions, on disk before it returns|$ms ms|") ;;
    esac
done < <(build/bench/bench_missionlist | tail -n +2)
while IFS=$'\t' read -r step ms; do
    case $step in
    "open and show") target="<= 200 ms" ;;
    删除全部) target="<= 500 ms" ;;
    longest) target="<= 100 ms without progress shown" ;;
    records*) rows+=("statistics window|100 000 records|$step: $ms|"); continue ;;
    *) target="<= 200 ms" ;;
    esac
    rows+=("statistics window|100 000 records, $step|$ms ms|$target")
done < <(build/bench/bench_powerstats 2>/dev/null)
while IFS= read -r row; do
    rows+=("$row")
done < <(bench/bench_program.sh build "${1:-60}" "${2:-7}")
while IFS= read -r row; do
    rows+=("$row")
done < <(python3 bench/bench_firing.py build/chronodesk build/bench/bench_marker "${3:-60}")
parts=""
while IFS=$'\t' read -r step ms; do
    parts+="${parts:+; }$step $ms ms"
done < <(build/bench/bench_firing_parts build/bench/bench_marker 30 2>/dev/null)
rows+=("firing, its parts|30 s, medians from the start of the second|$parts|")

echo "Machine: $machine; load average before $loadBefore, after $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%s\n' "${rows[@]}" | awk -F'|' '
    { name[NR] = $1; what[NR] = $2; figure[NR] = $3; target[NR] = $4 }
    END {
        printf "| %s | %s | %s | %s |\n|---|---|---|---|\n", "benchmark", "case", "figure", "target"
        for (i = 1; i <= NR; ++i) printf "| %s | %s | %s | %s |\n", name[i], what[i], figure[i], target[i]
    }'
