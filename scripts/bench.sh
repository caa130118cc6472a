#!/usr/bin/env bash
# Builds the program and its benchmarks and prints one table of figures.
# Figures only: nothing here fails because a figure is high.
# Usage: scripts/bench.sh [idle seconds, default 60]
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/CMakeCache.txt ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel 2 --target chronodesk bench_tick bench_files >/dev/null

rows=()
while read -r count median mean worst; do
    rows+=("tick|$count rows|median $median us, mean $mean us, worst $worst us")
done < <(build/bench/bench_tick | tail -n +2)
while read -r file kind count size save load; do
    rows+=("$file $kind save|$count rows, $size KB|$save ms")
    rows+=("$file $kind load|$count rows, into the list|$load ms")
done < <(build/bench/bench_files | tail -n +2)
while IFS= read -r row; do
    rows+=("$row")
done < <(bench/bench_program.sh build/chronodesk "${1:-60}")
while IFS= read -r row; do
    rows+=("$row")
done < <(python3 bench/bench_firing.py build/chronodesk)

echo "Machine: $(. /etc/os-release && echo "$PRETTY_NAME"), $(nproc) cores, $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo), load $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%s\n' "${rows[@]}" | awk -F'|' '
    { name[NR] = $1; what[NR] = $2; figure[NR] = $3 }
    END {
        printf "| %-22s | %-28s | %s\n", "benchmark", "case", "figure"
        for (i = 1; i <= NR; ++i) printf "| %-22s | %-28s | %s\n", name[i], what[i], figure[i]
    }'
